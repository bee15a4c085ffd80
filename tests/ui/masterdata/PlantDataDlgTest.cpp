#include "ui/masterdata/PlantDataDlg.h"

#include "ModalDriver.h"
#include "WindowTest.h"
#include "costing/OrderCosting.h"
#include "model/MasterDataFile.h"
#include "ui/common/NumberField.h"
#include "ui/main/MainDlg.h"

#include <QLineEdit>
#include <QPushButton>

namespace kalkora::ui::test {
namespace {

// The plant value behind each field 1002 .. 1012, in the order of the fields.
double valueOf(const CPlantData& p, int id)
{
    float CPlantData::*const floats[] = { &CPlantData::rentPerSqmYear, &CPlantData::energyPricePerKwh,
        &CPlantData::hoursPerShift, nullptr, &CPlantData::interestRatePct, &CPlantData::operatorFixedRate12,
        &CPlantData::operatorVarRate12, &CPlantData::operatorFixedRate3, &CPlantData::operatorVarRate3,
        &CPlantData::overheadExternalPct, &CPlantData::overheadMaterialPct };
    return id == 1005 ? p.workDaysPerYear : p.*floats[id - 1002];
}

class PlantDataDlgTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        plant.rentPerSqmYear = 123.4567f;
        plant.operatorFixedRate3 = 20;
        plant.operatorVarRate3 = 30;
        plant.overheadMaterialPct = 1500000;
    }

    static void clickOk(CPlantDataDlg& dlg) { dlg.findChild<QPushButton*>(QStringLiteral("button1001"))->click(); }

    CPlantData plant = examplePlant({});
};

// Each field shows its value with six significant digits in the German format, and OK reads the
// leading number of each text with the decimal comma.
TEST_F(PlantDataDlgTest, ShowsEveryValueAndOkReadsEveryField)
{
    const struct {
        int id;
        const char* shown;
        const char* typed;
        float read;
    } rows[] = {
        { 1002, "123,457", "61", 61 },
        { 1003, "0,15", "0,2 EUR", 0.2f },
        { 1004, "8", "7,5", 7.5f },
        { 1005, "250", " 230 Tage", 230 },
        { 1006, "6", "1e1", 10 },
        { 1007, "15", "16", 16 },
        { 1008, "25", "26", 26 },
        { 1009, "20", "17", 17 },
        { 1010, "30", "27", 27 },
        { 1011, "10", "5.", 5 },
        { 1012, "1,5e+006", "-5", -5 },
    };
    {
        CPlantDataDlg dlg(plant);
        EXPECT_EQ(text::runtimeLocale(), text::RuntimeLocale::German);
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora 1.0 EURO: Werksbezogene Daten"));
        EXPECT_FALSE(dlg.windowFlags() & Qt::WindowCloseButtonHint);
        for (const auto& row : rows)
            EXPECT_EQ(dlg.field(row.id)->text(), QLatin1String(row.shown)) << row.id;
        // Untouched, every value passes through its six-digit text.
        clickOk(dlg);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(plant.rentPerSqmYear, 123.457f);
        EXPECT_EQ(plant.energyPricePerKwh, 0.15f);
    }
    CPlantDataDlg dlg(plant);
    for (const auto& row : rows)
        dlg.field(row.id)->setText(QLatin1String(row.typed));
    clickOk(dlg);
    for (const auto& row : rows)
        EXPECT_EQ(valueOf(plant, row.id), double(row.read)) << row.id;
    EXPECT_TRUE(ui.asked.empty());
}

TEST_F(PlantDataDlgTest, CancelAndEscapeAfterTypingEverywhereChangeNothing)
{
    const std::string before = encodeMasterData(plant);
    for (const bool useEscape : { false, true }) {
        CPlantDataDlg dlg(plant);
        for (int id = 1002; id <= 1012; ++id)
            dlg.field(id)->setText(QStringLiteral("99"));
        if (useEscape)
            QTest::keyClick(dlg.field(1006), Qt::Key_Escape);
        else
            dlg.findChild<QPushButton*>(QStringLiteral("button1000"))->click();
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(encodeMasterData(plant), before);
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

    dlg.field(1002)->setText(QStringLiteral("1"));
    dlg.field(1005)->setText(QStringLiteral("Tage 220"));
    ui.clear();
    clickOk(dlg);
    EXPECT_EQ(ui.messages(), QStringList { wholeNumberExpectedMessage() });
    dlg.reject();
}

// The plant data command recomputes the hours per year however the dialog closes; the stored
// machine rates, and with them every costing, stay as they were until the machine dialog is
// confirmed.
TEST_F(PlantDataDlgTest, PlantDataCommandRecomputesHoursButNotTheMachineRates)
{
    CMainDlg main;
    main.plantData = examplePlant();
    main.order = exampleOrder();
    text::setRuntimeLocale(text::RuntimeLocale::German); // as the dialogs leave it
    const std::string reportBefore = costOrder(main.order, main.plantData, "a.auf", {}).reportText;

    main.plantData.workDaysPerYear = 200; // hours per year now stale
    whenModal([](QWidget* modal) { qobject_cast<CPlantDataDlg*>(modal)->reject(); });
    main.OnPlantData();
    EXPECT_EQ(main.plantData.hoursPerYear[0], 1600.0f);

    whenModal([](QWidget* modal) {
        qobject_cast<CPlantDataDlg*>(modal)->field(1004)->setText(QStringLiteral("4"));
        modal->findChild<QPushButton*>(QStringLiteral("button1001"))->click();
    });
    main.OnPlantData();
    EXPECT_EQ(main.plantData.hoursPerYear[0], 800.0f);
    EXPECT_FLOAT_EQ(main.plantData.machines.at(0)->fixedRate[0], 10.05f);
    EXPECT_EQ(costOrder(main.order, main.plantData, "a.auf", {}).reportText, reportBefore);

    whenModal([](QWidget* modal) { modal->findChild<QPushButton*>(QStringLiteral("button1001"))->click(); });
    main.OnMachineData();
    EXPECT_FLOAT_EQ(main.plantData.machines.at(0)->fixedRate[0], 25.125f);
    EXPECT_NE(costOrder(main.order, main.plantData, "a.auf", {}).reportText, reportBefore);
}

} // namespace
} // namespace kalkora::ui::test
