#pragma once

#include <QObject>

class QWidget;

namespace kalkora::ui {

// In the data-entry windows Enter goes to the focused control and never confirms: a focused
// push button does not click on Enter, and an Enter that the control ignores does not reach
// the window's default button. Install on the window after its controls exist.
class EnterKeyFilter : public QObject {
    Q_OBJECT

public:
    // Filters `window` and every push button inside it; owned by `window`.
    static void install(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

} // namespace kalkora::ui
