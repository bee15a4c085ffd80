#include "ScriptedUiServices.h"
#include "files/DataFiles.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"
#include "ui/assembly/AssemblyWindow.h"
#include "ui/main/MainDlg.h"
#include "ui/main/RecoveryPrompt.h"

#include <QApplication>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>

using namespace kalkora;

// A Kalkora run for the crash test to kill: `recovery_child WERK.sta ORDER.auf FOLDER SATZ.bgr`
// opens the files, converts the master data from DM, types into the order's name without leaving
// the field, renames the assembly, writes what it then holds to FOLDER/expected.sta and .auf and
// runs on.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("kalkora"));
    const QStringList args = app.arguments();
    ui::test::ScriptedUiServices services;
    QStandardPaths::setTestModeEnabled(false); // the recovery folder as the program finds it
    ui::CMainDlg mainDlg;
    ui::RecoveryPrompt recovery(mainDlg);
    mainDlg.show();
    mainDlg.OpenStartFiles({ args.at(1), args.at(2), args.at(4) });
    mainDlg.findChild<ui::CAssemblyWindow*>()->document().edit(
        QStringLiteral("Umbenennen"), [](Assembly& assembly) { assembly.name = "Satz kaputt"; });
    services.fileAnswers.push_back(args.at(1));
    mainDlg.action(146)->trigger();
    QTest::keyClicks(mainDlg.panel().findChild<QLineEdit*>(QStringLiteral("edit1029")), QStringLiteral(" kaputt"));
    files::saveBytes(
        args.at(3) + QStringLiteral("/expected.sta"), encodeMasterData(mainDlg.session().masterData().data()));
    files::saveBytes(
        args.at(3) + QStringLiteral("/expected.auf"), encodeOrder(mainDlg.panel().orderWithPendingField()));
    return app.exec();
}
