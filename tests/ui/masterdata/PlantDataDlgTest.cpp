#include "ui/masterdata/PlantDataDlg.h"

#include "ModalDriver.h"
#include "Scenario.h"
#include "WindowTest.h"
#include "costing/OrderCosting.h"
#include "model/MasterDataFile.h"
#include "ui/main/MainDlg.h"

namespace kalkora::ui::test {
namespace {

// The plant value behind each field 1002 .. 1012, in the order of the fields.
float valueOf(const CPlantData& p, int id)
{
    float CPlantData::*const floats[] = { &CPlantData::rentPerSqmYear, &CPlantData::energyPricePerKwh,
        &CPlantData::hoursPerShift, nullptr, &CPlantData::interestRatePct, &CPlantData::operatorFixedRate12,
        &CPlantData::operatorVarRate12, &CPlantData::operatorFixedRate3, &CPlantData::operatorVarRate3,
        &CPlantData::overheadExternalPct, &CPlantData::overheadMaterialPct };
    return id == 1005 ? float(p.workDaysPerYear) : p.*floats[id - 1002];
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

    // Looks at a plant value by its field's number, "1002" .. "1012", to nine digits.
    QString stored(const QString& id) const { return QString::number(valueOf(plant, id.toInt()), 'g', 9); }

    CPlantData plant = examplePlant({});
};

// Six significant digits in the German format; OK reads the leading number of each text in
// the reading order 1004, 1005, 1003, 1002, 1007 .. 1010, 1006, 1012, 1011 and stops at the
// first unreadable one, copying nothing.
const Row editing[] = { { "", "title" }, { "", "focus" }, { "", "edit1002" }, { "", "edit1003" }, { "", "edit1005" },
    { "", "edit1011" }, { "", "edit1012" }, { "edit1002~;edit1003~abc;edit1011~x;edit1004~6;button1001", "messages" },
    { "", "focus" }, { "", "visible" }, { "", "1004" }, { "edit1003~0,2 EUR;button1001", "messages" }, { "", "focus" },
    { "", "1003" }, { "edit1002~61;edit1005~Tage 220;button1001", "messages" },
    { "edit1005~ 230 Tage;edit1004~7,5;edit1006~1e1;edit1011~5.;edit1012~-5;button1001", "visible" }, { "", "1002" },
    { "", "1003" }, { "", "1004" }, { "", "1005" }, { "", "1006" }, { "", "1009" }, { "", "1011" }, { "", "1012" } };

TEST_F(PlantDataDlgTest, ShowsEveryValueAndOkReadsEveryField)
{
    const auto stored = [this](const QString& id) { return this->stored(id); };
    {
        // Untouched, every value passes through its six-digit text.
        CPlantDataDlg untouched(plant);
        const Row ok[] = { { "button1001", "1002" } };
        Scenario(untouched, ui, stored).run(ok);
    }
    CPlantDataDlg dlg(plant);
    EXPECT_FALSE(dlg.windowFlags() & Qt::WindowCloseButtonHint);
    activate(dlg);
    Scenario(dlg, ui, stored).run(editing);
}

TEST_F(PlantDataDlgTest, CancelAndEscapeAfterTypingEverywhereChangeNothing)
{
    const std::string before = encodeMasterData(plant);
    for (const char* close : { "button1000", "keys:Escape" }) {
        CPlantDataDlg dlg(plant);
        activate(dlg);
        for (int id = 1002; id <= 1012; ++id)
            dlg.field(id)->setText(QStringLiteral("99"));
        dlg.field(1006)->setFocus();
        const Row rows[] = { { close, "visible" }, { "", "stored" } };
        Scenario(dlg, ui, [&](const QString&) {
            return encodeMasterData(plant) == before ? QStringLiteral("unchanged") : QString();
        }).run(rows);
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
}

// The plant data command recomputes the hours per year however the dialog closes, and on OK every
// machine's rates with them, so that the next costing is current.
TEST_F(PlantDataDlgTest, PlantDataCommandRecomputesHoursAndOnOkTheMachineRates)
{
    CMainDlg main;
    main.session().masterData().data() = examplePlant();
    main.session().order().data() = exampleOrder();
    const auto report = [&main] {
        return costOrder(main.session().order().data(), main.session().masterData().data(), "a.auf", {}).reportText;
    };
    const std::string reportBefore = report();

    main.session().masterData().data().workDaysPerYear = 200; // hours per year now stale
    whenModal([](QWidget* modal) { qobject_cast<CPlantDataDlg*>(modal)->reject(); });
    main.OnPlantData();
    EXPECT_EQ(main.session().masterData().data().hoursPerYear[0], 1600.0f);

    whenModal([](QWidget* modal) {
        qobject_cast<CPlantDataDlg*>(modal)->field(1004)->setText(QStringLiteral("4"));
        click(modal, "button1001");
    });
    main.OnPlantData();
    EXPECT_EQ(main.session().masterData().data().hoursPerYear[0], 800.0f);
    // 4 hours a shift on 200 days: 800, 1600 and 2400 hours a year.
    const CMachine& m = *main.session().masterData().data().machines.at(0);
    const float rates[] = { 25.125f, 12.5625f, 8.375f, 7.75f, 4.625f, 3.5833333f };
    for (int k = 0; k < 6; ++k)
        EXPECT_FLOAT_EQ(k < 3 ? m.fixedRate[k] : m.variableRate[k - 3], rates[k]) << k;
    EXPECT_NE(report(), reportBefore);
}

} // namespace
} // namespace kalkora::ui::test
