#include "ui/main/CostApp.h"

#include "ui/main/MainDlg.h"

#include <QLibraryInfo>
#include <QLocale>

namespace kalkora::ui {

CCostApp::CCostApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("kalkora"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    if (qtTranslator.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installTranslator(&qtTranslator);
    }
}

int CCostApp::run()
{
    CMainDlg mainDlg;
    // Other top-level windows, such as the help window, do not keep the program alive.
    connect(&mainDlg, &CMainDlg::ended, this, [] { QCoreApplication::exit(0); });
    mainDlg.show();
    exec();
    return 0;
}

} // namespace kalkora::ui
