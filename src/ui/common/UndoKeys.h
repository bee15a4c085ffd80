#pragma once

class QAction;
class QUndoStack;
class QWidget;

namespace kalkora::ui {

// A text field takes Ctrl+Z and Ctrl+Y (and Ctrl+Shift+Z) for itself even when it has no typing
// to take back or make again, so that the window's "Rückgängig" and "Wiederherstellen" would
// never hear them while a field has the focus. Under `root`, every text field keeps the keys
// only while it has typing of its own to undo or redo; otherwise they reach the window's menu.
void letTextFieldsPassUndoKeys(QWidget* root);

// "&Rückgängig: <step>" and "&Wiederherstellen: <step>", greyed where there is none.
void showUndoSteps(const QUndoStack& steps, QAction* undo, QAction* redo);

} // namespace kalkora::ui
