#include "ui/masterdata/PlantDataDlg.h"

#include "MasterDataTestSupport.h"
#include "ModalDriver.h"
#include "costing/OrderCosting.h"
#include "ui/common/NumberField.h"
#include "ui/main/MainDlg.h"

#include <QLineEdit>
#include <QPushButton>

namespace kalkora::ui::test {
namespace {

class PlantDataDlgTest : public MasterDataTest {
protected:
    void SetUp() override
    {
        MasterDataTest::SetUp();
        setExamplePlantValues(plant);
        plant.rentPerSqmYear = 123.4567f;
    }

    static void clickOk(CPlantDataDlg& dlg) { dlg.findChild<QPushButton*>(QStringLiteral("button1001"))->click(); }

    CPlantData plant;
};

TEST_F(PlantDataDlgTest, ShowsEveryValueInTheGermanNumberFormat)
{
    plant.overheadMaterialPct = 1500000;
    const CPlantDataDlg dlg(plant);
    EXPECT_EQ(text::runtimeLocale(), text::RuntimeLocale::German);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora 1.0 EURO: Werksbezogene Daten"));
    EXPECT_EQ(dlg.field(1002)->text(), QStringLiteral("123,457"));
    EXPECT_EQ(dlg.field(1003)->text(), QStringLiteral("0,15"));
    EXPECT_EQ(dlg.field(1004)->text(), QStringLiteral("8"));
    EXPECT_EQ(dlg.field(1005)->text(), QStringLiteral("250"));
    EXPECT_EQ(dlg.field(1007)->text(), QStringLiteral("15"));
    EXPECT_EQ(dlg.field(1008)->text(), QStringLiteral("25"));
    EXPECT_EQ(dlg.field(1012)->text(), QStringLiteral("1,5e+006"));
    EXPECT_EQ(dlg.field(1004)->property("plainToolTip").toString(), QStringLiteral("Stunden pro Schicht (i.A. 8)"));
    EXPECT_FALSE(dlg.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(PlantDataDlgTest, TabVisitsTheFieldsGroupByGroupThenTheButtons)
{
    CPlantDataDlg dlg(plant);
    EXPECT_EQ(tabOrder(&dlg, dlg.field(1002)),
        (QStringList { "edit1002", "edit1003", "edit1004", "edit1005", "edit1006", "edit1007", "edit1008", "edit1009",
            "edit1010", "edit1011", "edit1012", "button1001", "button1000" }));
}

TEST_F(PlantDataDlgTest, OkStoresEveryFloatThroughItsSixDigitText)
{
    CPlantDataDlg dlg(plant);
    clickOk(dlg);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(plant.rentPerSqmYear, 123.457f);
    EXPECT_EQ(plant.energyPricePerKwh, 0.15f);
    EXPECT_EQ(plant.workDaysPerYear, 250);
    EXPECT_TRUE(ui.asked.empty());
}

TEST_F(PlantDataDlgTest, OkCopiesEveryFieldToItsValue)
{
    CPlantDataDlg dlg(plant);
    const std::pair<int, const char*> typed[] = { { 1002, "61" }, { 1003, "0,2" }, { 1004, "7,5" }, { 1005, "230" },
        { 1006, "5" }, { 1007, "16" }, { 1008, "26" }, { 1009, "17" }, { 1010, "27" }, { 1011, "11" }, { 1012, "6" } };
    for (const auto& [id, value] : typed) {
        dlg.field(id)->setText(QString::fromLatin1(value));
    }
    clickOk(dlg);
    EXPECT_EQ(plant.rentPerSqmYear, 61.0f);
    EXPECT_EQ(plant.energyPricePerKwh, 0.2f);
    EXPECT_EQ(plant.hoursPerShift, 7.5f);
    EXPECT_EQ(plant.workDaysPerYear, 230);
    EXPECT_EQ(plant.interestRatePct, 5.0f);
    EXPECT_EQ(plant.operatorFixedRate12, 16.0f);
    EXPECT_EQ(plant.operatorVarRate12, 26.0f);
    EXPECT_EQ(plant.operatorFixedRate3, 17.0f);
    EXPECT_EQ(plant.operatorVarRate3, 27.0f);
    EXPECT_EQ(plant.overheadExternalPct, 11.0f);
    EXPECT_EQ(plant.overheadMaterialPct, 6.0f);
}

TEST_F(PlantDataDlgTest, CancelAndEscapeAfterTypingEverywhereChangeNothing)
{
    for (const bool useEscape : { false, true }) {
        CPlantDataDlg dlg(plant);
        for (int id = 1002; id <= 1012; ++id) {
            dlg.field(id)->setText(QStringLiteral("99"));
        }
        if (useEscape) {
            QTest::keyClick(dlg.field(1006), Qt::Key_Escape);
        } else {
            dlg.findChild<QPushButton*>(QStringLiteral("button1000"))->click();
        }
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(plant.rentPerSqmYear, 123.4567f);
        EXPECT_EQ(plant.hoursPerShift, 8.0f);
        EXPECT_EQ(plant.workDaysPerYear, 250);
        EXPECT_EQ(plant.operatorVarRate12, 25.0f);
        EXPECT_EQ(plant.overheadMaterialPct, 0.0f);
    }
    EXPECT_TRUE(ui.asked.empty());
}

TEST_F(PlantDataDlgTest, OkStopsAtTheFirstUnreadableFieldInReadingOrder)
{
    CPlantDataDlg dlg(plant);
    activate(dlg);
    // Reading order 1004, 1005, 1003, 1002, 1007 .. 1010, 1006, 1012, 1011: 1003 comes before
    // 1002 and 1011, although it is not the first of them on screen.
    dlg.field(1002)->setText(QString());
    dlg.field(1003)->setText(QStringLiteral("abc"));
    dlg.field(1011)->setText(QStringLiteral("x"));
    dlg.field(1004)->setText(QStringLiteral("6"));
    clickOk(dlg);
    ASSERT_EQ(ui.messages(), QStringList { numberExpectedMessage() });
    EXPECT_EQ(ui.asked[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dlg.focusWidget(), dlg.field(1003));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(plant.hoursPerShift, 8.0f) << "nothing is copied, not even the readable fields";

    dlg.field(1003)->setText(QStringLiteral("0,2"));
    ui.clear();
    clickOk(dlg);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(dlg.focusWidget(), dlg.field(1002));
    EXPECT_TRUE(dlg.field(1002)->text().isEmpty());
    EXPECT_EQ(plant.energyPricePerKwh, 0.15f);
    dlg.reject();
}

TEST_F(PlantDataDlgTest, DecimalCommaIsTheSeparatorAndTheRestOfTheTextIsIgnored)
{
    const struct {
        const char* energy;
        const char* days;
        float energyRead;
        int daysRead;
    } cases[] = { { "0.15", "220,5", 0.0f, 220 }, { "0,15", " 230 Tage", 0.15f, 230 }, { "1e1", "-5", 10.0f, -5 } };
    for (const auto& c : cases) {
        CPlantDataDlg dlg(plant);
        dlg.field(1003)->setText(QString::fromLatin1(c.energy));
        dlg.field(1005)->setText(QString::fromLatin1(c.days));
        clickOk(dlg);
        EXPECT_EQ(plant.energyPricePerKwh, c.energyRead) << c.energy;
        EXPECT_EQ(plant.workDaysPerYear, c.daysRead) << c.days;
    }
    EXPECT_TRUE(ui.asked.empty());

    CPlantDataDlg dlg(plant);
    dlg.field(1005)->setText(QStringLiteral("Tage 220"));
    clickOk(dlg);
    EXPECT_EQ(ui.messages(), QStringList { wholeNumberExpectedMessage() });
    dlg.reject();
}

TEST_F(PlantDataDlgTest, EnterNeverConfirms)
{
    CPlantDataDlg dlg(plant);
    activate(dlg);
    dlg.field(1004)->setFocus();
    QTest::keyClick(dlg.field(1004), Qt::Key_Return);
    QTest::keyClick(dlg.findChild<QPushButton*>(QStringLiteral("button1001")), Qt::Key_Enter);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(plant.rentPerSqmYear, 123.4567f);
    dlg.reject();
}

// The plant data command recomputes the hours per year however the dialog closes; the stored
// machine rates, and with them every costing, stay as they were until the machine dialog is
// confirmed.
TEST_F(PlantDataDlgTest, PlantDataCommandRecomputesHoursButNotTheMachineRates)
{
    CMainDlg main;
    setExamplePlantValues(main.plantData);
    addMachine(main.plantData, exampleMachine("Drehbank"));
    auto operation = std::make_unique<COperation>();
    operation->name = "Drehen";
    operation->machineName = "Drehbank";
    operation->lotSize = 100;
    operation->machineTimeMin = 2;
    operation->machineUtilPct = 100;
    main.order.quantityBase = 100;
    main.order.operations.add(std::move(operation));
    text::setRuntimeLocale(text::RuntimeLocale::German); // as the dialogs leave it
    const text::PrintDate date {};
    const std::string reportBefore = costOrder(main.order, main.plantData, "a.auf", date).reportText;

    main.plantData.workDaysPerYear = 200; // hours per year now stale
    whenModal([](QWidget* modal) {
        auto* dlg = qobject_cast<CPlantDataDlg*>(modal);
        ASSERT_NE(dlg, nullptr);
        dlg->reject();
    });
    main.OnPlantData();
    EXPECT_EQ(main.plantData.hoursPerYear[0], 1600.0f);

    whenModal([](QWidget* modal) {
        auto* dlg = qobject_cast<CPlantDataDlg*>(modal);
        ASSERT_NE(dlg, nullptr);
        dlg->field(1004)->setText(QStringLiteral("4"));
        dlg->findChild<QPushButton*>(QStringLiteral("button1001"))->click();
    });
    main.OnPlantData();
    EXPECT_EQ(main.plantData.hoursPerShift, 4.0f);
    EXPECT_EQ(main.plantData.hoursPerYear[0], 800.0f);
    EXPECT_FLOAT_EQ(main.plantData.machines.at(0)->fixedRate[0], 10.05f);
    EXPECT_EQ(costOrder(main.order, main.plantData, "a.auf", date).reportText, reportBefore);

    whenModal([](QWidget* modal) { modal->findChild<QPushButton*>(QStringLiteral("button1001"))->click(); });
    main.OnMachineData();
    EXPECT_FLOAT_EQ(main.plantData.machines.at(0)->fixedRate[0], 25.125f);
    EXPECT_NE(costOrder(main.order, main.plantData, "a.auf", date).reportText, reportBefore);
}

} // namespace
} // namespace kalkora::ui::test
