#include "ui/analysis/OrderWindow.h"

#include "ui/common/DialogUnits.h"
#include "ui/common/QtText.h"

#include <QScreen>

#include <algorithm>

namespace kalkora::ui {

COrderWindow::COrderWindow(QWidget* parent, const QString& title)
    : QDialog(parent)
    , title(title)
{
    setWindowTitle(title);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
        | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    QSize size = DialogUnits(font()).size(540, 400);
    if (const QScreen* screen = parent ? parent->screen() : nullptr) {
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    }
    resize(size);
}

void COrderWindow::setOrderName(const QString& name)
{
    setWindowTitle((name.isEmpty() ? title : title + QStringLiteral(": ") + name) + QStringLiteral("[*]"));
}

void bringToFront(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

bool mayCloseAnalysisWindows(QWidget* owner)
{
    const QList<COrderWindow*> windows = owner->findChildren<COrderWindow*>(QString(), Qt::FindDirectChildrenOnly);
    return std::all_of(windows.begin(), windows.end(),
        [](COrderWindow* window) { return !window->isVisible() || window->mayClose(); });
}

bool analysisWindowsChanged(QWidget* owner)
{
    const QList<COrderWindow*> windows = owner->findChildren<COrderWindow*>(QString(), Qt::FindDirectChildrenOnly);
    return std::any_of(windows.begin(), windows.end(),
        [](COrderWindow* window) { return window->isVisible() && window->isChanged(); });
}

void closeAnalysisWindows(QWidget* owner)
{
    for (COrderWindow* window : owner->findChildren<COrderWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
        // done() rather than close(): close() would ask a changed quote once more.
        window->done(QDialog::Rejected);
    }
}

void refreshAnalysisWindows(QWidget* owner)
{
    for (COrderWindow* window : owner->findChildren<COrderWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (window->isVisible()) {
            window->OnOrderChanged();
        }
    }
}

} // namespace kalkora::ui
