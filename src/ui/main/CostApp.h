#pragma once

#include <QApplication>
#include <QStringList>
#include <QTranslator>

namespace kalkora::ui {

// What the command line asks for: `kalkora [FILE.sta] [FILE.auf]`, or --help / --version,
// which print their text and end the program at once with `exitCode`.
struct StartRequest {
    QStringList files;
    bool exitNow = false;
    int exitCode = 0;
    QString output; // for stdout
    QString errorOutput; // for stderr
};

// `arguments` with the program's name first. Qt's own options (-platform, -style ...) count as
// unknown until QApplication has taken them out.
StartRequest parseCommandLine(const QStringList& arguments);
void printStartOutput(const StartRequest& request);

// The application object: German texts also in Qt's own dialogs, then the main window with the
// files named on the command line, run until it closes.
class CCostApp : public QApplication {
    Q_OBJECT

public:
    CCostApp(int& argc, char** argv);

    // Shows the main window and returns the exit status when it has been closed.
    int run();

private:
    QTranslator qtTranslator;
};

} // namespace kalkora::ui
