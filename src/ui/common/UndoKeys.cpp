#include "ui/common/UndoKeys.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUndoStack>
#include <QWidget>

namespace kalkora::ui {

namespace {

class UndoKeysFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo)) {
            return !canUndo(watched);
        }
        if (key->matches(QKeySequence::Redo) || key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y)) {
            return !canRedo(watched);
        }
        return false;
    }

private:
    static bool canUndo(QObject* field)
    {
        if (auto* line = qobject_cast<QLineEdit*>(field)) {
            return line->isUndoAvailable();
        }
        return static_cast<QPlainTextEdit*>(field)->document()->isUndoAvailable();
    }

    static bool canRedo(QObject* field)
    {
        if (auto* line = qobject_cast<QLineEdit*>(field)) {
            return line->isRedoAvailable();
        }
        return static_cast<QPlainTextEdit*>(field)->document()->isRedoAvailable();
    }
};

} // namespace

void letTextFieldsPassUndoKeys(QWidget* root)
{
    auto* filter = new UndoKeysFilter(root);
    for (QLineEdit* field : root->findChildren<QLineEdit*>()) {
        field->installEventFilter(filter);
    }
    for (QPlainTextEdit* field : root->findChildren<QPlainTextEdit*>()) {
        field->installEventFilter(filter);
    }
}

void showUndoSteps(const QUndoStack& steps, QAction* undo, QAction* redo)
{
    undo->setEnabled(steps.canUndo());
    undo->setText(steps.canUndo() ? QStringLiteral("&Rückgängig: ") + steps.undoText() : QStringLiteral("&Rückgängig"));
    redo->setEnabled(steps.canRedo());
    redo->setText(steps.canRedo() ? QStringLiteral("&Wiederherstellen: ") + steps.redoText()
                                  : QStringLiteral("&Wiederherstellen"));
}

} // namespace kalkora::ui
