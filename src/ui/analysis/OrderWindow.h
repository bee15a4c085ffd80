#pragma once

// ui/analysis: the windows beside the main window that show figures of its order (price scale,
// cost breakdown, the quote in ui/quote), the table panel they share, and the charts. They use
// ui/common, ui/report, src/documents, src/costing, src/files, src/model and src/text, never
// ui/main.

#include "model/COrder.h"
#include "model/CPlantData.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <string>
#include <utility>

namespace kalkora::ui {

// Hands out the order as the user sees it at this moment, a field being typed included.
using OrderSnapshot = std::function<COrder()>;

// A window with figures of the main window's order. It is not modal, so the order can be edited
// beside it; it follows the order as it changes. The caption names the order.
class COrderWindow : public QDialog {
    Q_OBJECT

public:
    // Whether the window may go with the order or master data it belongs to: a changed quote
    // asks first. False when the user keeps the window.
    virtual bool mayClose() { return true; }
    // Holds work of its own that is not saved (a changed quote).
    virtual bool isChanged() const { return false; }

public slots:
    // The order was edited in the main window.
    virtual void OnOrderChanged() = 0;

protected:
    COrderWindow(QWidget* parent, const QString& title);

    // Names the order or assembly in the caption.
    void setOrderName(const QString& name);

private:
    QString title;
};

// Shows `window` in front of the others, with the keyboard.
void bringToFront(QWidget* window);

// Opens the window of type `Window` of `owner`, made by `create`, or brings the open one to the
// front computed afresh with its own settings; a hidden one starts from the defaults again.
template <typename Window, typename Create> Window* showWindowOf(QWidget* owner, const Create& create)
{
    auto* window = owner->findChild<Window*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = create();
        window->restart();
    } else if (window->isVisible()) {
        window->OnOrderChanged();
    } else {
        window->restart();
    }
    bringToFront(window);
    return window;
}

// The same for a window on the current order.
template <typename Window>
Window* showWithSettings(QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder)
{
    return showWindowOf<Window>(owner, [&] { return new Window(plantData, std::move(currentOrder), owner); });
}

// Whether every open window of `owner` with figures of its order may close (mayClose), asked
// before an order or master data go that they belong to.
bool mayCloseAnalysisWindows(QWidget* owner);
// Whether one of those windows that is open holds work of its own not saved.
bool analysisWindowsChanged(QWidget* owner);
// Closes those windows without asking again: their figures belong to an order or master data that
// are going away. Opened again, they compute afresh.
void closeAnalysisWindows(QWidget* owner);
// Lets those windows follow the order after an edit.
void refreshAnalysisWindows(QWidget* owner);

} // namespace kalkora::ui
