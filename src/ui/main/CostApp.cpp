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
    mainDlg.show();
    exec();
    return 0;
}

} // namespace kalkora::ui
