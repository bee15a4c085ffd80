#include "ScriptedUiServices.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"
#include "ui/main/CrashRecovery.h"
#include "ui/main/MainDlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTest>

using namespace kalkora;
using namespace kalkora::ui;

namespace {

void store(const QString& path, const std::string& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())
        || !file.commit())
        std::exit(1);
}

} // namespace

// A Kalkora run for the crash test to kill: `recovery_child WERK.sta ORDER.auf FOLDER` opens both
// files, converts the master data from DM and types into the order's name without leaving the
// field, writes what it then holds to FOLDER/expected.sta and .auf, and runs until it is killed.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("kalkora"));
    if (argc != 4)
        return 2;
    const QString masterData = QString::fromLocal8Bit(argv[1]);
    test::ScriptedUiServices ui;
    QStandardPaths::setTestModeEnabled(false); // the recovery folder as the program finds it
    CMainDlg mainDlg;
    CrashRecovery recovery(mainDlg);
    mainDlg.show();
    mainDlg.OpenStartFiles({ masterData, QString::fromLocal8Bit(argv[2]) });
    ui.fileAnswers.push_back(masterData);
    mainDlg.action(146)->trigger();
    QTest::keyClicks(mainDlg.panel().findChild<QLineEdit*>(QStringLiteral("edit1029")), QStringLiteral(" kaputt"));
    const QString folder = QString::fromLocal8Bit(argv[3]);
    store(folder + QStringLiteral("/expected.sta"), encodeMasterData(mainDlg.plantData));
    store(folder + QStringLiteral("/expected.auf"), encodeOrder(mainDlg.panel().orderWithPendingField()));
    return app.exec();
}
