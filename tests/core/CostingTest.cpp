#include "ExampleData.h"
#include "Golden.h"
#include "TextTestSupport.h"
#include "costing/OrderCosting.h"
#include "text/Cp1252.h"

#include <gtest/gtest.h>

using namespace kalkora;
using namespace kalkora::testing;

namespace {

const std::string NL = "\r\n     ";
const std::string RULE(50, '-');
const text::PrintDate kMonday4August2003 { 2003, 8, 4 };

const auto cp = [](std::string_view utf8) { return text::utf8ToCp1252(utf8); };

// The report's closing figures: the part between "VOLLKOSTEN:" and the next line break.
std::string totalsLine(const std::string& report)
{
    const auto begin = report.find("VOLLKOSTEN:");
    return report.substr(begin, report.find('\r', begin) - begin);
}

} // namespace

TEST(MachineRates, WorkedExampleAndZeroGuards)
{
    const struct {
        const char* what;
        void (*change)(CPlantData&, CMachine&);
        float fixed[3], variable[3];
    } rows[] = {
        { "example", [](CPlantData&, CMachine&) {}, { 10.05f, 5.025f, 3.35f }, { 4.0f, 2.75f, 2.3333333f } },
        { "no useful life", [](CPlantData&, CMachine& m) { m.usefulLifeYears = 0; }, { 4.05f, 2.025f, 1.35f },
            { 3.0f, 2.25f, 2.0f } },
        { "written off", [](CPlantData&, CMachine& m) { m.purchaseCost = m.usefulLifeYears = 0; },
            { 0.45f, 0.225f, 0.15f }, { 3.0f, 2.25f, 2.0f } },
        { "no power", [](CPlantData&, CMachine& m) { m.powerUsagePct = 0; }, { 10.05f, 5.025f, 3.35f },
            { 2.5f, 1.25f, 0.8333333f } },
        { "no hours",
            [](CPlantData& p, CMachine&) {
                p.hoursPerShift = 0;
                p.computeHoursPerYear();
            },
            { 0, 0, 0 }, { 1.5f, 1.5f, 1.5f } },
    };
    for (const auto& row : rows) {
        CPlantData plant = examplePlant({});
        CMachine m = exampleMachine();
        row.change(plant, m);
        computeMachineRates(plant, m);
        for (int k = 0; k < 3; ++k) {
            EXPECT_FLOAT_EQ(m.fixedRate[k], row.fixed[k]) << row.what << " fixed, shifts " << k + 1;
            EXPECT_FLOAT_EQ(m.variableRate[k], row.variable[k]) << row.what << " variable, shifts " << k + 1;
        }
    }
    // Each share is a float and the rate their double sum: not the float nearest 3.35.
    EXPECT_EQ(examplePlant().machines.at(0)->fixedRate[2], 3.3500001f);
}

// The default locale prints points and English names.
TEST(CostingReport, WorkedExampleByteForByteInBothLocales)
{
    for (const auto locale : { text::RuntimeLocale::German, text::RuntimeLocale::Default }) {
        text::LocaleScope scope(locale);
        const CostingResult result = costOrder(exampleOrder(), examplePlant(), "welle.auf", kMonday4August2003);
        expectGolden(
            locale == text::RuntimeLocale::German ? "core/golden/welle-german.txt" : "core/golden/welle-default.txt",
            result.reportText);
    }
}

// Variants of the example order: the lines the report must hold, its totals and its messages.
TEST(CostingReport, Variants)
{
    text::LocaleScope german(text::RuntimeLocale::German);
    const std::string missing = "Maschinendatensatz nicht gefunden. Daten inkonsistent !!";
    const std::string badShift = cp("Ungültiger Schichtbetrieb. Daten inkonsistent !!");
    const struct Row {
        const char* what;
        void (*change)(COrder&);
        std::vector<std::string> lines;
        const char* totals; // null: not checked
        std::vector<std::string> messages;
    } rows[] = {
        { "no operations",
            [](COrder& o) {
                o.clear();
                o.quantityBase = 5;
            },
            { "Datei:      " + NL + NL, "Bemerkung:  " + NL + NL + NL + RULE + NL },
            "VOLLKOSTEN:       0,00   DIREKTE KOSTEN:   0,00   ", {} },
        { "no pieces", [](COrder& o) { o.quantityBase = 0; }, {}, "VOLLKOSTEN:        inf   DIREKTE KOSTEN:    inf   ",
            {} },
        { "nothing over no pieces", [](COrder& o) { o.clear(); }, {},
            "VOLLKOSTEN:        nan   DIREKTE KOSTEN:    nan   ", {} },
        // The setup time over zero pieces is inf, and 0 x inf loses the order total.
        { "lot size 0", [](COrder& o) { o.operations.at(0)->lotSize = 0; },
            { "Vollkosten/St.(AG):         inf", cp("Losgröße (Arbeitsgang):      0") },
            "VOLLKOSTEN:        nan   DIREKTE KOSTEN:    nan   ", {} },
        { "external lot size 0",
            [](COrder& o) {
                o.operations.removeAt(0);
                o.operations.at(0)->externalLotSize = 0;
            },
            { cp("Vollk./St.: 1,65  Dir.K/St.: 1,50  Losgröße: 0") },
            "VOLLKOSTEN:       0,00   DIREKTE KOSTEN:   0,00   ", {} },
        // Names compare byte for byte; only the external operation is in the totals.
        { "missing machines",
            [](COrder& o) {
                o.operations.at(0)->machineName = "drehmaschine 1";
                o.operations.add(turningOperation("Drehen", "Fehlt"));
            },
            { "Maschine: drehmaschine 1" + NL + "Maschinendatensatz nicht gefunden - Arbeitsgang nicht berechnet" + NL
                    + RULE + NL + NL + "Arbeitsgang: Haerten",
                cp("ACHTUNG: Summen unvollständig, nicht berechnete Arbeitsgänge: 2") + NL },
            "VOLLKOSTEN:       1,65   DIREKTE KOSTEN:   1,50   ", { missing, missing } },
        { "shift mode 3", [](COrder& o) { o.operations.at(0)->shiftMode = 3; },
            { cp("Ungültiger Schichtbetrieb - Arbeitsgang nicht berechnet"),
                cp("ACHTUNG: Summen unvollständig, nicht berechnete Arbeitsgänge: 1") + NL },
            "VOLLKOSTEN:       1,65   DIREKTE KOSTEN:   1,50   ", { badShift } },
        { "missing machine is found before the shift mode",
            [](COrder& o) {
                o.operations.at(0)->shiftMode = -1;
                o.operations.at(0)->machineName = "x";
            },
            {}, nullptr, { missing } },
        { "two shifts", [](COrder& o) { o.operations.at(0)->shiftMode = 1; },
            { "MaschFix:   5,03 MaschVar:   2,75", "MA (Var):  25,00 MA (Fix):  15,00" }, nullptr, {} },
        // Any non-zero flag is an internal operation.
        { "three shifts",
            [](COrder& o) {
                o.operations.at(0)->shiftMode = 2;
                o.operations.at(0)->isInternal = 7;
            },
            { "Anz.Sch.:      3", "MaschFix:   3,35 MaschVar:   2,33", "MA (Var):  30,00 MA (Fix):  20,00" }, nullptr,
            {} },
    };
    for (const Row& row : rows) {
        COrder order = exampleOrder();
        CPlantData plant = examplePlant();
        plant.operatorVarRate3 = 30; // third-shift rates of their own, so that a wrong shift shows
        plant.operatorFixedRate3 = 20;
        row.change(order);
        const CostingResult result = costOrder(order, plant, "", kMonday4August2003);
        for (const std::string& line : row.lines)
            EXPECT_NE(result.reportText.find(line), std::string::npos) << row.what << ": " << line;
        if (row.totals) {
            EXPECT_EQ(totalsLine(result.reportText), row.totals) << row.what;
        }
        EXPECT_EQ(result.messages, row.messages) << row.what;
        EXPECT_EQ(result.uncostedOperations, static_cast<int>(row.messages.size())) << row.what;
    }
}

TEST(WrapRemark, CutsEvery38CharactersAfterDroppingTheLineBreaks)
{
    const std::string brk = "\r\n" + std::string(17, ' ');
    const std::string a38(38, 'a');
    const std::string x20(20, 'x');
    const std::string y20(20, 'y');
    const std::pair<std::string, std::string> rows[] = {
        { "", "" }, { a38, a38 }, { a38 + "b", a38 + brk + "b" }, { a38 + a38, a38 + brk + a38 }, // one break, not two
        { a38 + a38 + "c", a38 + brk + a38 + brk + "c" }, { "ab\r\ncd\n\re", "abcde" },
        { x20 + "\r\n" + y20, x20 + y20.substr(2) + brk + "yy" }, // the breaks go before the cut
    };
    for (const auto& [remark, wrapped] : rows)
        EXPECT_EQ(wrapRemark(remark), wrapped) << remark;
}
