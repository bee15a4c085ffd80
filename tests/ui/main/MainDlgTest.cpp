#include "ui/main/MainDlg.h"

#include "ModalDriver.h"
#include "WindowTest.h"
#include "costing/OrderCosting.h"
#include "files/DataFiles.h"
#include "model/DmConversion.h"
#include "text/Cp1252.h"
#include "ui/common/QtText.h"
#include "ui/common/QtUiServices.h"
#include "ui/report/ReportDlg.h"
#include "ui/report/ReportTextView.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace kalkora::ui::test {
namespace {

using Kind = ScriptedUiServices::Kind;

const QString closeQuestion = QStringLiteral("Anwendung schließen ? Evtl. nicht gespeicherte Daten gehen verloren !");
constexpr int orderCommands[] = { 40003, 40004, 40005, 40015 };
constexpr int alwaysEnabled[] = { 40001, 40002, 147, 40006, 40007, 40008, 40010, 40011, 146, 40052, 40009 };

class MainDlgTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        dlg.show();
    }

    void expectOrderCommands(bool enabled)
    {
        for (int id : orderCommands)
            EXPECT_EQ(dlg.action(id)->isEnabled(), enabled) << id;
        for (int id : alwaysEnabled)
            EXPECT_TRUE(dlg.action(id)->isEnabled()) << id;
    }

    QString path(const QString& name) const { return folder.filePath(name); }

    void writeOrder(const QString& file, const COrder& order) { ASSERT_TRUE(files::saveOrder(file, order).ok()); }

    QTemporaryDir folder;
    CMainDlg dlg;
};

TEST_F(MainDlgTest, CaptionsAndGreyingFollowTheOrderState)
{
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora 1.0 EURO"));
    EXPECT_FALSE(dlg.isOrderOpen());
    EXPECT_TRUE(dlg.findChild<QLabel*>(QStringLiteral("picture1064"))->isVisible());
    expectOrderCommands(false);
    // Without machines an order cannot be opened: only the message shows.
    dlg.action(40002)->trigger();
    dlg.action(147)->trigger();
    EXPECT_EQ(ui.texts(Kind::Message), QStringList({ files::noMachinesMessage(), files::noMachinesMessage() }));
    EXPECT_EQ(ui.asked.size(), 2u);
    EXPECT_FALSE(dlg.isOrderOpen());

    ui.clear();
    dlg.action(40001)->trigger();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora"));
    EXPECT_TRUE(dlg.panel().isVisible());
    EXPECT_FALSE(dlg.findChild<QLabel*>(QStringLiteral("picture1064"))->isVisible());
    expectOrderCommands(true);

    ui.fileAnswers.push_back(path(QStringLiteral("welle.auf")));
    dlg.action(40004)->trigger();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora - welle.auf"));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("welle.auf"))));
    ASSERT_EQ(ui.asked.size(), 1u);
    const FileDialogRequest& request = ui.asked[0].file;
    EXPECT_EQ(ui.asked[0].kind, Kind::SaveFile);
    EXPECT_EQ(request.title, QStringLiteral("Kalkora - Auftragsdaten Speichern"));
    EXPECT_EQ(request.filterLabel, QStringLiteral("Auftragsdaten (*.auf) "));
    EXPECT_EQ(request.filterPattern, QStringLiteral("*.auf"));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("auf"));
    EXPECT_TRUE(request.promptOverwrite);
    // The file dialog shows the label once, not followed by the pattern a second time.
    EXPECT_EQ(qtNameFilter(request), QStringLiteral("Auftragsdaten (*.auf)"));

    dlg.action(40003)->trigger();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora"));
    EXPECT_FALSE(dlg.isOrderOpen());
    expectOrderCommands(false);
}

TEST_F(MainDlgTest, EveryCloseRequestAsksAndOnlyYesCloses)
{
    const auto requestClose = [this](const std::function<void()>& request, bool answer) {
        ui.clear();
        ui.yesNoAnswers.push_back(answer);
        request();
        ASSERT_EQ(ui.asked.size(), 1u);
        EXPECT_EQ(ui.asked[0].kind, Kind::YesNo);
        EXPECT_EQ(ui.asked[0].text, closeQuestion);
        EXPECT_EQ(ui.asked[0].icon, MessageIcon::Question);
        EXPECT_EQ(dlg.isVisible(), !answer);
    };
    requestClose([this] { QTest::keyClick(&dlg, Qt::Key_Escape); }, false);
    requestClose([this] { dlg.action(40006)->trigger(); }, false);
    requestClose([this] { dlg.close(); }, false);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora 1.0 EURO"));
    // After an order is closed, the key goes where the window routes it, not to the hidden panel.
    activate(dlg);
    dlg.action(40001)->trigger();
    dlg.panel().findChild<QLineEdit*>(QStringLiteral("edit1029"))->setFocus();
    dlg.action(40003)->trigger();
    requestClose([this] { QTest::keyClick(dlg.windowHandle(), Qt::Key_Escape); }, false);
    bool ended = false;
    QObject::connect(&dlg, &CMainDlg::ended, [&ended] { ended = true; });
    requestClose([this] { dlg.close(); }, true);
    EXPECT_TRUE(ended);
    dlg.show();
    requestClose([this] { QTest::keyClick(&dlg, Qt::Key_Escape); }, true);
}

// A damaged file changes nothing; an intact one is shown, and "&Speichern" writes back to it
// without a dialog.
TEST_F(MainDlgTest, OpeningAnOrderShowsItAndKeepsTheFullPathForSaving)
{
    dlg.plantData = examplePlant();
    dlg.action(40001)->trigger();
    dlg.order.name = "Bisher";
    const QString file = path(QStringLiteral("welle.auf"));
    writeOrder(file, exampleOrder());
    ASSERT_TRUE(QFile::resize(file, QFile(file).size() - 20));
    ui.fileAnswers.push_back(file);
    dlg.action(40002)->trigger();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains(QStringLiteral("welle.auf"))) << ui.messages()[0].toStdString();
    EXPECT_EQ(dlg.order.name, "Bisher");
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora"));
    EXPECT_TRUE(dlg.orderFileName.isEmpty());

    writeOrder(file, exampleOrder());
    ui.clear();
    ui.fileAnswers.push_back(file);
    dlg.action(40002)->trigger();
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].file.title, QStringLiteral("Kalkora - Auftragsdaten Laden"));
    EXPECT_EQ(ui.asked[0].kind, Kind::OpenFile);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora - welle.auf"));
    EXPECT_EQ(dlg.panel().operationList()->model()->rowCount(), 2);

    dlg.order.name = "Welle neu";
    ui.clear();
    dlg.action(40004)->trigger();
    EXPECT_TRUE(ui.asked.empty());
    COrder reread;
    ASSERT_TRUE(files::loadOrder(file, 1.0f, reread).ok());
    EXPECT_EQ(reread.name, "Welle neu");
}

TEST_F(MainDlgTest, OldDmFilesAreConvertedAfterTheWarning)
{
    COrder stored;
    stored.operations.add(externalOperation("Härten", 10, 100));
    const QString orderFile = path(QStringLiteral("alt.auf"));
    writeOrder(orderFile, stored);
    CPlantData plant = examplePlant();
    plant.rentPerSqmYear = 100;
    const QString masterFile = path(QStringLiteral("alt.sta"));
    ASSERT_TRUE(files::saveMasterData(masterFile, plant).ok());

    ui.fileAnswers = { masterFile, orderFile };
    dlg.action(146)->trigger();
    dlg.action(147)->trigger();
    ASSERT_EQ(ui.asked.size(), 4u);
    EXPECT_EQ(ui.asked[0].text, files::dmMasterDataWarning());
    EXPECT_EQ(ui.asked[1].file.title, QStringLiteral("Kalkora - Stammdaten Laden"));
    EXPECT_EQ(ui.asked[1].file.filterLabel, QStringLiteral("Stammdaten (*.sta) "));
    EXPECT_EQ(ui.asked[2].text, files::dmOrderWarning());
    EXPECT_EQ(ui.asked[3].kind, Kind::OpenFile);
    EXPECT_EQ(dlg.plantData.rentPerSqmYear, convertMoney(100, dmToEurFactor));
    EXPECT_EQ(dlg.order.operations.at(0)->externalCostPerPiece, convertMoney(10, dmToEurFactor));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora - alt.auf"));
}

TEST_F(MainDlgTest, AFailedSaveIsReportedAndForgetsTheFileName)
{
    dlg.action(40001)->trigger();
    ui.fileAnswers = { path(QStringLiteral("welle.auf")), path(QStringLiteral("fehlt/welle.auf")) };
    dlg.action(40004)->trigger();
    ui.clear();
    dlg.action(40005)->trigger(); // asks for a new name although the order has one
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains(QStringLiteral("welle.auf")));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora"));
    EXPECT_TRUE(dlg.orderFileName.isEmpty());
    EXPECT_TRUE(dlg.isOrderOpen());

    ui.clear();
    dlg.action(40004)->trigger();
    EXPECT_EQ(ui.texts(Kind::SaveFile).size(), 1);
}

TEST_F(MainDlgTest, MasterDataRoundTripsThroughTheFileCommands)
{
    dlg.plantData = examplePlant({ "Presse", "Drehmaschine 1" });
    const QString file = path(QStringLiteral("werk.sta"));
    ui.fileAnswers.push_back(file);
    dlg.action(40011)->trigger();
    EXPECT_EQ(ui.asked[0].file.title, QStringLiteral("Kalkora - Stammdaten Speichern"));
    EXPECT_TRUE(ui.asked[0].file.promptOverwrite);

    dlg.plantData.machines.clear();
    dlg.plantData.rentPerSqmYear = 1;
    ui.fileAnswers.push_back(file);
    dlg.action(40010)->trigger();
    ASSERT_EQ(dlg.plantData.machines.count(), 2);
    EXPECT_EQ(dlg.plantData.machines.at(1)->name, "Drehmaschine 1");
    EXPECT_EQ(dlg.plantData.rentPerSqmYear, 60);
    EXPECT_GT(dlg.plantData.machines.at(0)->fixedRate[0], 0);
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora 1.0 EURO"));

    // A damaged file is reported and changes nothing.
    ASSERT_TRUE(QFile::resize(file, QFile(file).size() - 20));
    ui.fileAnswers.push_back(file);
    dlg.action(40010)->trigger();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains(QStringLiteral("werk.sta"))) << ui.messages()[0].toStdString();
    EXPECT_EQ(dlg.plantData.machines.count(), 2);
}

TEST_F(MainDlgTest, CalculateShowsEachMissingMachineThenExactlyTheReport)
{
    dlg.plantData = examplePlant({ "Drehmaschine 1" });
    dlg.action(40001)->trigger();
    dlg.order.name = "Welle";
    dlg.order.quantityBase = 100;
    dlg.order.operations.add(turningOperation("Drehen", "Drehmaschine 1"));
    dlg.order.operations.add(turningOperation("Fr\xE4sen", "Fr\xE4se"));
    dlg.order.operations.add(externalOperation("H\xE4rten", 1.5f, 100));
    dlg.order.operations.add(turningOperation("Schleifen", "Schleifmaschine"));
    dlg.panel().RefreshFromOrder(); // as after opening the order

    std::string shownReport;
    QString shownText;
    bool closesOnEnter = false;
    whenModal([&](QWidget* window) {
        auto* report = qobject_cast<CReportDlg*>(window);
        ASSERT_NE(report, nullptr);
        shownReport = report->getReportText();
        QTest::keyClick(report->findChild<ReportTextView*>(QStringLiteral("edit1060")), Qt::Key_A, Qt::ControlModifier);
        shownText = report->findChild<ReportTextView*>(QStringLiteral("edit1060"))->selectedText();
        QTest::keyClick(report, Qt::Key_Return);
        closesOnEnter = !report->isVisible();
        report->close();
    });
    dlg.action(40015)->trigger();

    const CostingResult expected = costOrder(dlg.order, dlg.plantData, "", text::PrintDate::today());
    EXPECT_EQ(shownReport, expected.reportText);
    // Copied as the command-line report prints it.
    EXPECT_EQ(shownText,
        QString::fromStdString(text::cp1252ToUtf8(expected.reportText))
            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_TRUE(closesOnEnter);
    const QString missing = QStringLiteral("Maschinendatensatz nicht gefunden. Daten inkonsistent !!");
    EXPECT_EQ(ui.messages(), QStringList({ missing, missing }));
}

} // namespace
} // namespace kalkora::ui::test
