#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace kalkora::ui::test {

// Runs `step` with the modal window once the nested event loop of the next exec() runs.
// The step must close that window, or the test would hang.
inline void whenModal(std::function<void(QWidget*)> step)
{
    QTimer::singleShot(0, [step = std::move(step)] { step(QApplication::activeModalWidget()); });
}

} // namespace kalkora::ui::test
