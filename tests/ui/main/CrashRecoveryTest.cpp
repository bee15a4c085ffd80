#include "ui/main/CrashRecovery.h"

#include "WindowTest.h"
#include "files/DataFiles.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"
#include "ui/main/MainDlg.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace kalkora::ui::test {
namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList recoveryFiles(const QString& folder)
{
    return QDir(folder).entryList({ QStringLiteral("recovery-*.json") }, QDir::Files);
}

class CrashRecoveryTest : public WindowTest {
protected:
    QTemporaryDir temp;
    QString path(const char* name) const { return temp.filePath(QString::fromUtf8(name)); }
};

// A run killed while master data and order are unsaved: the next start offers them, "Nein" keeps
// them for the start after, "Ja" brings them back byte for byte, under their names, as changed.
TEST_F(CrashRecoveryTest, KilledRunIsRestored)
{
    ASSERT_TRUE(files::saveMasterData(path("werk.sta"), examplePlant({ "Drehmaschine 1" })).ok());
    ASSERT_TRUE(files::saveOrder(path("welle.auf"), exampleOrder()).ok());
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), path("data"));
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral(KALKORA_RECOVERY_CHILD), { path("werk.sta"), path("welle.auf"), temp.path() });
    const QString folder = path("data/kalkora/recovery");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recoveryFiles(folder).isEmpty(); }, 10000));

    CMainDlg mainDlg;
    CrashRecovery recovery(mainDlg, folder);
    recovery.offerRestore(); // the other window is still open
    EXPECT_TRUE(ui.asked.empty());
    child.kill();
    ASSERT_TRUE(child.waitForFinished());
    ui.yesNoAnswers = { false, true };
    recovery.offerRestore();
    ASSERT_EQ(recoveryFiles(folder).size(), 1u);
    recovery.offerRestore();

    const QStringList questions = ui.texts(Kind::YesNo);
    ASSERT_EQ(questions.size(), 2);
    EXPECT_EQ(questions.at(0), questions.at(1));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Kalkora wurde nicht ordnungsgemäß beendet\\. Sollen die "
                                                  "ungesicherten Änderungen vom \\d\\d\\.\\d\\d\\.20\\d\\d, "
                                                  "\\d\\d:\\d\\d Uhr wiederhergestellt werden\\?$"))
                    .match(questions.at(0))
                    .hasMatch())
        << questions.at(0).toStdString();
    EXPECT_EQ(QByteArray::fromStdString(encodeMasterData(mainDlg.plantData)), contents(path("expected.sta")));
    EXPECT_EQ(QByteArray::fromStdString(encodeOrder(mainDlg.order)), contents(path("expected.auf")));
    EXPECT_EQ(mainDlg.orderFileName, path("welle.auf"));
    EXPECT_EQ(mainDlg.windowTitle(), QStringLiteral("Kalkora - welle.auf"));
    EXPECT_TRUE(mainDlg.isOrderOpen() && mainDlg.isOrderChanged() && mainDlg.isMasterDataChanged());
    // The data now lives in this run's file; a clean end removes it.
    EXPECT_EQ(recoveryFiles(folder), QStringList { QFileInfo(recovery.ownFile()).fileName() });
    recovery.finish();
    EXPECT_TRUE(recoveryFiles(folder).isEmpty());
}

// A file that cannot be read is reported and set aside, never offered; a folder that cannot be
// written is reported once, and the window works on.
TEST_F(CrashRecoveryTest, TroubleIsReportedOnce)
{
    const QString folder = path("recovery");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile broken(folder + QStringLiteral("/recovery-1-1.json"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write(R"({"kind":"kalkora-wiederherstellung")") > 0);
    broken.close();
    CMainDlg mainDlg;
    CrashRecovery(mainDlg, folder).offerRestore();
    EXPECT_TRUE(ui.texts(Kind::YesNo).isEmpty());
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().at(0),
        QStringLiteral("Die ungesicherten Änderungen in „%1“ können nicht wiederhergestellt werden. Die Datei ist "
                       "unvollständig oder beschädigt.\r\nDie Datei wurde als „recovery-1-1.json.defekt“ "
                       "beiseitegelegt.")
            .arg(broken.fileName()));
    EXPECT_TRUE(recoveryFiles(folder).isEmpty());

    ui.clear();
    CrashRecovery unwritable(mainDlg, broken.fileName() + QStringLiteral(".defekt/unter"));
    mainDlg.action(40001)->trigger();
    for (const char* name : { "Eins", "Zwei" }) {
        setText(&mainDlg.panel(), "edit1029", QString::fromUtf8(name));
        mainDlg.panel().writeFieldsToOrder();
        QTest::qWait(1500);
    }
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages().at(0).startsWith(
        QStringLiteral("Die Daten für eine Wiederherstellung nach einem Absturz können nicht gespeichert werden")));
    EXPECT_TRUE(mainDlg.isOrderChanged());
}

} // namespace
} // namespace kalkora::ui::test
