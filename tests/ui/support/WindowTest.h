#pragma once

#include "ScriptedUiServices.h"
#include "core/ExampleData.h"
#include "core/Golden.h"
#include "text/RuntimeLocale.h"
#include "ui/main/MainDlg.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace kalkora::ui::test {

using namespace kalkora::testing;
using Kind = ScriptedUiServices::Kind;

// What a test recorded and what its scenario rows without an expected text saw, a line each; at
// the end of the test it must equal KALKORA_UI_GOLDEN<suite>.<test>.txt below tests/.
inline std::string transcript;
#ifndef KALKORA_UI_GOLDEN
#define KALKORA_UI_GOLDEN "ui/main/golden/"
#endif

// Adds "label: text" to the transcript, its line breaks written as \r and \n.
inline void record(const QString& label, const QString& text)
{
    transcript += QString(label + QStringLiteral(": ") + text)
                      .replace(u'\r', QStringLiteral("\\r"))
                      .replace(u'\n', QStringLiteral("\\n"))
                      .toStdString()
        + '\n';
}

// The title as the desktop shows it: "*" where the window marks unsaved changes.
inline QString shownTitle(const QWidget& window)
{
    return QString(window.windowTitle())
        .replace(QStringLiteral("[*]"), window.isWindowModified() ? QStringLiteral("*") : QString());
}

// Every window test: a scripted UiServices and the runtime locale as at program start.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { text::setRuntimeLocale(text::RuntimeLocale::German), transcript.clear(); }
    void TearDown() override
    {
        text::setRuntimeLocale(text::RuntimeLocale::German);
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        if (!transcript.empty())
            expectGolden(
                std::string(KALKORA_UI_GOLDEN) + test->test_suite_name() + '.' + test->name() + ".txt", transcript);
    }

    // Shows `window` and makes it the active one, so that focus changes happen as on screen.
    static void activate(QWidget& window)
    {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    ScriptedUiServices ui;
};

// A main window showing the example order on the example plant.
class ExampleOrderTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        dlg.show();
        dlg.session().masterData().data() = examplePlant();
        dlg.OnNewOrder();
        dlg.session().order().data() = exampleOrder();
        dlg.panel().RefreshFromOrder();
    }

    CMainDlg dlg;
};

// The control named `name` in `window`; a missing one fails the test and crashes it at once.
template <typename T = QWidget> T* child(const QObject* window, const QString& name)
{
    T* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

inline void setText(const QObject* window, const char* field, const QString& text)
{
    child<QLineEdit>(window, field)->setText(text);
}

inline void click(const QObject* window, const char* button)
{
    child<QAbstractButton>(window, button)->click();
}

// The model's column titles, then each row, a line each with the cells "|"-separated.
inline std::string tableText(const QAbstractItemModel* model)
{
    std::string text;
    for (int row = -1; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells
                << (row < 0 ? model->headerData(column, Qt::Horizontal) : model->index(row, column).data()).toString();
        text += cells.join(u'|').toStdString() + '\n';
    }
    return text;
}

// The object names of the enabled controls that Tab visits in `window`, starting at `first`.
inline QStringList tabOrder(QWidget* window, QWidget* first)
{
    QStringList names;
    QWidget* widget = first;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled())
            names << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first && widget != window);
    return names;
}

} // namespace kalkora::ui::test
