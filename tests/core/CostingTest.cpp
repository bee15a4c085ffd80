#include "ExampleData.h"
#include "Golden.h"
#include "TextTestSupport.h"
#include "costing/OrderCosting.h"
#include "text/Cp1252.h"

#include <gtest/gtest.h>

using namespace kalkora;
using namespace kalkora::testing;

namespace {

const text::PrintDate kMonday4August2003 { 2003, 8, 4 };

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

// Variants of the example order: each report is stored beside the tests, and the messages of all.
TEST(CostingReport, Variants)
{
    text::LocaleScope german(text::RuntimeLocale::German);
    const struct Row {
        const char* name;
        void (*change)(COrder&);
    } rows[] = {
        { "no-operations",
            [](COrder& o) {
                o.clear();
                o.quantityBase = 5;
            } },
        { "no-pieces", [](COrder& o) { o.quantityBase = 0; } },
        { "nothing-over-no-pieces", [](COrder& o) { o.clear(); } },
        // The setup time over zero pieces is inf, and 0 x inf loses the order total.
        { "lot-size-0", [](COrder& o) { o.operations.at(0)->lotSize = 0; } },
        { "external-lot-size-0",
            [](COrder& o) {
                o.operations.removeAt(0);
                o.operations.at(0)->externalLotSize = 0;
            } },
        // Names compare byte for byte; only the external operation is in the totals.
        { "missing-machines",
            [](COrder& o) {
                o.operations.at(0)->machineName = "drehmaschine 1";
                o.operations.add(turningOperation("Drehen", "Fehlt"));
            } },
        { "shift-mode-3", [](COrder& o) { o.operations.at(0)->shiftMode = 3; } },
        { "missing-machine-before-shift-mode",
            [](COrder& o) {
                o.operations.at(0)->shiftMode = -1;
                o.operations.at(0)->machineName = "x";
            } },
        { "two-shifts", [](COrder& o) { o.operations.at(0)->shiftMode = 1; } },
        // Any non-zero flag is an internal operation.
        { "three-shifts",
            [](COrder& o) {
                o.operations.at(0)->shiftMode = 2;
                o.operations.at(0)->isInternal = 7;
            } },
    };
    std::string messages;
    for (const Row& row : rows) {
        COrder order = exampleOrder();
        CPlantData plant = examplePlant();
        plant.operatorVarRate3 = 30; // third-shift rates of their own, so that a wrong shift shows
        plant.operatorFixedRate3 = 20;
        row.change(order);
        const CostingResult result = costOrder(order, plant, "", kMonday4August2003);
        expectGolden(std::string("core/golden/variant-") + row.name + ".txt", result.reportText);
        EXPECT_EQ(result.uncostedOperations, static_cast<int>(result.messages.size())) << row.name;
        messages += row.name + std::string(":");
        for (const std::string& message : result.messages)
            messages += " " + text::cp1252ToUtf8(message);
        messages += "\n";
    }
    expectGolden("core/golden/variant-messages.txt", messages);
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
