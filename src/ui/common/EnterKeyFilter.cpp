#include "ui/common/EnterKeyFilter.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace kalkora::ui {

void EnterKeyFilter::install(QWidget* window)
{
    auto* filter = new EnterKeyFilter(window);
    window->installEventFilter(filter);
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        button->installEventFilter(filter);
    }
}

bool EnterKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kalkora::ui
