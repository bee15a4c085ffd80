#include "WindowTest.h"
#include "files/AssemblyFile.h"
#include "files/DataFiles.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"
#include "ui/assembly/AssemblyWindow.h"
#include "ui/main/MainDlg.h"
#include "ui/main/RecoveryPrompt.h"

#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace kalkora::ui::test {
namespace {

QStringList recoveryFiles(const QString& folder)
{
    return QDir(folder).entryList({ QStringLiteral("recovery-*.json") }, QDir::Files);
}

using CrashRecoveryTest = WindowTest;

// A run killed with unsaved master data and order: while it lives nobody else offers its file;
// after its death "Nein" keeps the file for the next start, "Ja" brings both back byte for byte,
// under their names, as changed, and a clean end removes the file that then holds them. Restored,
// they hold their files again: a save over a change another copy made meanwhile asks first, and
// a file another has open since is restored read-only.
TEST_F(CrashRecoveryTest, KilledRunIsRestored)
{
    QTemporaryDir temp;
    const QString masterData = temp.filePath(QStringLiteral("werk.sta"));
    const QString orderFile = temp.filePath(QStringLiteral("welle.auf"));
    ASSERT_TRUE(files::saveMasterData(masterData, examplePlant()).ok());
    ASSERT_TRUE(files::saveOrder(orderFile, exampleOrder()).ok());
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), temp.filePath(QStringLiteral("data")));
    child.setProcessEnvironment(environment);
    const QString assemblyFile = temp.filePath(QStringLiteral("satz.bgr"));
    ASSERT_TRUE(files::saveAssembly(assemblyFile, Assembly()).ok());
    child.start(QStringLiteral(KALKORA_RECOVERY_CHILD), { masterData, orderFile, temp.path(), assemblyFile });
    const QString folder = temp.filePath(QStringLiteral("data/kalkora/recovery"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recoveryFiles(folder).isEmpty(); }, 10000));

    CMainDlg mainDlg;
    RecoveryPrompt recovery(mainDlg, folder);
    recovery.offerRestore();
    EXPECT_TRUE(ui.asked.empty());
    child.kill();
    ASSERT_TRUE(child.waitForFinished());
    COrder other = exampleOrder();
    other.name = "Welle B";
    ASSERT_TRUE(files::saveOrder(orderFile, other).ok());
    ASSERT_TRUE(
        files::saveBytes(temp.filePath(QStringLiteral(".werk.sta.lock")), "4242\nkalkora\nwerkstatt-pc\n").ok());
    ui.yesNoAnswers = { false, true };
    recovery.offerRestore();
    recovery.offerRestore();

    const QStringList questions = ui.texts(Kind::YesNo);
    ASSERT_EQ(questions.size(), 2);
    EXPECT_EQ(questions.at(0), questions.at(1));
    const QRegularExpression date(QStringLiteral("\\d\\d\\.\\d\\d\\.20\\d\\d, \\d\\d:\\d\\d Uhr"));
    record(QStringLiteral("asked"), QString(questions.at(0)).replace(date, QStringLiteral("DATUM")));
    EXPECT_EQ(encodeMasterData(mainDlg.session().masterData().data()),
        fileBytes(temp.filePath("expected.sta").toStdString()));
    EXPECT_EQ(encodeOrder(mainDlg.session().order().data()), fileBytes(temp.filePath("expected.auf").toStdString()));
    EXPECT_EQ(mainDlg.session().order().path(), orderFile);
    EXPECT_EQ(shownTitle(mainDlg), QStringLiteral("Kalkora - welle.auf*"));
    EXPECT_TRUE(mainDlg.isOrderOpen() && mainDlg.isOrderChanged() && mainDlg.isMasterDataChanged());
    EXPECT_EQ(recoveryFiles(folder), QStringList { QFileInfo(recovery.ownFile()).fileName() });
    QLockFile probe(temp.filePath(QStringLiteral(".welle.auf.lock")));
    probe.setStaleLockTime(0);
    EXPECT_FALSE(probe.tryLock(0)) << "the restored order holds its file";
    EXPECT_TRUE(mainDlg.session().masterData().isReadOnly());
    // The assembly's window comes back with it, its file held and its change unsaved.
    const auto* assembly = mainDlg.findChild<CAssemblyWindow*>();
    ASSERT_NE(assembly, nullptr);
    EXPECT_EQ(assembly->document().data().name, "Satz kaputt");
    EXPECT_EQ(shownTitle(*assembly), QStringLiteral("Kalkora - satz.bgr*"));
    QLockFile assemblyProbe(temp.filePath(QStringLiteral(".satz.bgr.lock")));
    assemblyProbe.setStaleLockTime(0);
    EXPECT_FALSE(assemblyProbe.tryLock(0)) << "the restored assembly holds its file";
    ui.clear();
    ui.yesNoAnswers = { false };
    mainDlg.action(40004)->trigger();
    record(QStringLiteral("Speichern"), ui.texts(Kind::YesNo).join(u'|'));
    COrder onDisk;
    ASSERT_TRUE(files::loadOrder(orderFile, 1.0f, onDisk).ok());
    EXPECT_EQ(onDisk.name, "Welle B");
    recovery.finish();
    EXPECT_TRUE(recoveryFiles(folder).isEmpty());
}

// A file that cannot be read is reported and set aside, never offered; a folder that cannot be
// written is reported once, and the window works on.
TEST_F(CrashRecoveryTest, TroubleIsReportedOnce)
{
    QTemporaryDir folder;
    const QString broken = folder.filePath(QStringLiteral("recovery-1-1.json"));
    ASSERT_TRUE(files::saveBytes(broken, R"({"kind":"kalkora-wiederherstellung")").ok());
    CMainDlg mainDlg;
    RecoveryPrompt(mainDlg, folder.path()).offerRestore();
    record(QStringLiteral("messages"), ui.messages().join(u'|').replace(folder.path(), QStringLiteral("ORDNER")));
    EXPECT_TRUE(ui.texts(Kind::YesNo).isEmpty() && recoveryFiles(folder.path()).isEmpty());

    ui.clear();
    RecoveryPrompt unwritable(mainDlg, broken + QStringLiteral(".defekt/unter"));
    mainDlg.action(40001)->trigger();
    for (const char* name : { "Eins", "Zwei" }) {
        setText(&mainDlg.panel(), "edit1029", QString::fromUtf8(name));
        mainDlg.panel().writeFieldsToOrder();
        QTest::qWait(1500);
    }
    record(QStringLiteral("messages"), ui.messages().join(u'|').replace(folder.path(), QStringLiteral("ORDNER")));
}

} // namespace
} // namespace kalkora::ui::test
