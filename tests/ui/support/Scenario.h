#pragma once

#include "ScriptedUiServices.h"
#include "WindowTest.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <gtest/gtest.h>
#include <span>

namespace kalkora::ui::test {

// One row of a window scenario: what the user does, then what must be shown or stored.
//   act "name=text"  types the text into the field `name` and leaves it with the Tab key
//       "name~text"  types it and stays in the field
//       "name#3"     selects row 3 of the list `name` (-1 clears the selection)
//       "keys:Ctrl+End Shift+Up"  presses the keys where the focus is
//       "file:NAME"  answers the next file dialog with NAME in `folder` ("file:" cancels it)
//       "name"       clicks the button or triggers the command `name`; "" does nothing
//       several acts separated by ";" are done one after the other
//   look "name"      the text of that control; "messages" the messages, questions and file
//                    dialog titles the act brought up, "|"-separated; "focus" the focused control
//                    and its selection; "visible" 1 or 0; "title" the window title; a combo box
//                    its current index, "/", its count and its text; anything else
//                    the scenario's `stored` answers.
// A row without an expected text adds "act -> look: seen" to the test's transcript.
struct Row {
    const char* act;
    const char* look;
    const char* expected = nullptr; // UTF-8; ending in "…" only the beginning of the text
};

class Scenario {
public:
    Scenario(QWidget& window, ScriptedUiServices& ui, std::function<QString(const QString&)> stored = {})
        : window(window)
        , ui(ui)
        , stored(std::move(stored))
    {
    }

    void run(std::span<const Row> rows)
    {
        for (const Row& row : rows) {
            const QString act = QString::fromUtf8(row.act);
            SCOPED_TRACE(std::string(row.act) + " -> " + row.look);
            if (!act.isEmpty()) {
                ui.clear();
                for (const QString& step : act.split(u';'))
                    perform(step);
                QCoreApplication::processEvents(); // what the window does once the user's input is handled
            }
            QString seen = look(QString::fromUtf8(row.look));
            if (!folder.isEmpty())
                seen.replace(folder, QString());
            if (!row.expected) {
                record(act + QStringLiteral(" -> ") + QString::fromUtf8(row.look), seen);
                continue;
            }
            QString expected = QString::fromUtf8(row.expected);
            if (expected.endsWith(u'…')) // the beginning of a long text
                expected = expected.chopped(1) + seen.mid(expected.size() - 1);
            EXPECT_EQ(seen.toStdString(), expected.toStdString());
        }
    }

    // Where "file:NAME" answers the next file dialog from, ending in "/"; looks show the names
    // in it without it.
    QString folder;

private:
    void perform(const QString& act)
    {
        if (act.startsWith(QLatin1String("file:"))) {
            ui.fileAnswers.push_back(act.size() > 5 ? folder + act.mid(5) : QString());
        } else if (act.startsWith(QLatin1String("keys:"))) {
            for (const QString& key : act.mid(5).split(u' ')) {
                const QKeyCombination combination = QKeySequence::fromString(key)[0];
                QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.focusWidget();
                QTest::keyClick(target ? target : &window, combination.key(), combination.keyboardModifiers());
                QCoreApplication::processEvents(); // a window the key opened becomes the active one
            }
        } else if (const qsizetype at = act.indexOf(QRegularExpression(QStringLiteral("[=~#]"))); at > 0) {
            const QString value = act.mid(at + 1);
            if (act[at] == u'#') {
                auto* list = child<QListWidget>(&window, act.left(at));
                value.toInt() < 0 ? list->clearSelection() : list->setCurrentRow(value.toInt());
                return;
            }
            QWidget* field = child(&window, act.left(at));
            field->setFocus(Qt::MouseFocusReason);
            if (auto* edit = qobject_cast<QLineEdit*>(field))
                edit->setText(value);
            else
                qobject_cast<QPlainTextEdit*>(field)->setPlainText(value);
            if (act[at] == u'=')
                leave(field);
        } else if (auto* button = window.findChild<QAbstractButton*>(act)) {
            button->click();
        } else {
            child<QAction>(&window, act)->trigger();
        }
    }

    // Moves the focus on as Tab does; a plain text field would take the Tab key as text.
    static void leave(QWidget* field)
    {
        QWidget* next = field->nextInFocusChain();
        while (next != field && !((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisible()))
            next = next->nextInFocusChain();
        next->setFocus(Qt::TabFocusReason);
    }

    QString look(const QString& name) const
    {
        if (name == QLatin1String("messages")) {
            QStringList texts;
            for (const ScriptedUiServices::Question& question : ui.asked)
                texts << question.text;
            return texts.join(u'|');
        }
        if (name == QLatin1String("title"))
            return shownTitle(window);
        if (name == QLatin1String("visible"))
            return QString::number(window.isVisible());
        if (name == QLatin1String("focus")) {
            QWidget* focus = QApplication::focusWidget();
            auto* edit = qobject_cast<QLineEdit*>(focus);
            return focus ? focus->objectName() + (edit ? u':' + edit->selectedText() : QString()) : QString();
        }
        QObject* control = window.findChild<QObject*>(name);
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            return edit->text();
        if (auto* text = qobject_cast<QPlainTextEdit*>(control))
            return text->toPlainText();
        if (auto* label = qobject_cast<QLabel*>(control))
            return label->text();
        if (auto* combo = qobject_cast<QComboBox*>(control))
            return QStringLiteral("%1/%2 %3").arg(combo->currentIndex()).arg(combo->count()).arg(combo->currentText());
        EXPECT_TRUE(stored) << name.toStdString();
        return stored ? stored(name) : QString();
    }

    QWidget& window;
    ScriptedUiServices& ui;
    std::function<QString(const QString&)> stored;
};

} // namespace kalkora::ui::test
