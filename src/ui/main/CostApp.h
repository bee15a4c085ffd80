#pragma once

#include <QApplication>
#include <QTranslator>

namespace kalkora::ui {

// The application object: German texts also in Qt's own dialogs, then the main window, run
// until it closes. Command-line arguments are ignored; the program always starts with empty
// master data and no open order.
class CCostApp : public QApplication {
    Q_OBJECT

public:
    CCostApp(int& argc, char** argv);

    // Shows the main window and returns when it has been closed.
    int run();

private:
    QTranslator qtTranslator;
};

} // namespace kalkora::ui
