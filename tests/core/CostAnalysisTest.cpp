#include "costing/CostAnalysis.h"

#include "ExampleData.h"
#include "Golden.h"
#include "TextTestSupport.h"
#include "costing/AnalysisTables.h"
#include "costing/TableWriting.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace kalkora;
using kalkora::testing::exampleOrder;
using kalkora::testing::examplePlant;

namespace {

// The example order with both operations' lots set to `lot`.
COrder orderWithLots(std::int32_t quantityBase, std::int32_t lot)
{
    COrder order = exampleOrder();
    order.quantityBase = quantityBase;
    order.operations.at(0)->lotSize = lot;
    order.operations.at(1)->externalLotSize = lot;
    return order;
}

std::string scaleError(const COrder& order, std::vector<std::int32_t> quantities)
{
    try {
        computePriceScale(order, examplePlant(), std::move(quantities));
    } catch (const PriceScaleError& e) {
        return e.what();
    }
    return "<none>";
}

// An operation on a missing machine and one with a bad shift mode, between good ones.
COrder orderWithUncostedOperations()
{
    COrder order = exampleOrder();
    order.operations.at(0)->machineName = "Fehlt";
    order.operations.add(kalkora::testing::turningOperation());
    order.operations.at(2)->shiftMode = 5;
    order.operations.add(kalkora::testing::turningOperation("Fr\xE4sen"));
    return order;
}

} // namespace

TEST(PriceScale, LotsAreScaledUpToWholePieces)
{
    // {quantity, lot at the quantity base of 100, the lot the quantity needs}
    const struct {
        std::int32_t quantity, lot, scaledLot;
    } cases[] = { { 100, 101, 101 }, { 10, 101, 11 }, { 1, 101, 2 }, { 1000, 101, 1010 }, { 7, 50, 4 },
        { 10, -101, -10 }, { 3, -50, -1 }, { 2147483647, 1, 21474837 } };
    for (const auto& c : cases) {
        const PriceScale scale = computePriceScale(orderWithLots(100, c.lot), examplePlant(), { c.quantity });
        const CostBreakdown scaled = breakDownCosts(orderWithLots(c.quantity, c.scaledLot), examplePlant());
        ASSERT_EQ(scale.rows.size(), 1u);
        const PriceScaleRow& row = scale.rows[0];
        const std::string label = std::to_string(c.quantity) + " x " + std::to_string(c.lot);
        EXPECT_EQ(row.fullPerPiece, scaled.order.full) << label;
        EXPECT_EQ(row.directPerPiece, scaled.order.direct) << label;
        EXPECT_EQ(row.setupPerPiece, scaled.order.setup) << label;
    }

    // A long order: the last of 300 operations has a scrap allowance of one piece.
    COrder order, scaled;
    order.quantityBase = 100;
    scaled.quantityBase = 10;
    for (int i = 0; i < 300; ++i) {
        order.operations.add(kalkora::testing::turningOperation());
        scaled.operations.add(kalkora::testing::turningOperation());
        scaled.operations.at(i)->lotSize = i < 299 ? 10 : 11;
    }
    order.operations.at(299)->lotSize = 101;
    // The breakdown is handed on as a copy of one that is gone: its names must go with it.
    const CostBreakdown copied = [&scaled] {
        const CostBreakdown original = breakDownCosts(scaled, examplePlant());
        return CostBreakdown(original);
    }();
    EXPECT_EQ(computePriceScale(order, examplePlant(), { 10 }).rows[0].fullPerPiece, copied.order.full);
    for (const OperationBreakdown& op : copied.operations)
        ASSERT_EQ(std::string(op.name) + "/" + std::string(op.machineName), "Drehen/Drehmaschine 1") << op.index;
}

// The messages are stored beside the tests.
TEST(PriceScale, RefusesWhatItCannotCompute)
{
    const struct {
        std::int32_t quantityBase, lot, quantity;
    } cases[] = { { 0, 100, 10 }, { -5, 100, 10 }, { 1, 2147483647, 2 }, { 1, -2147483647 - 1, 2 }, { 2, 1 << 30, 4 },
        { 100, 100, 0 } };
    std::string messages;
    for (const auto& c : cases)
        messages += scaleError(orderWithLots(c.quantityBase, c.lot), { 1, c.quantity }) + "\n";
    COrder external = orderWithLots(1, 1);
    external.operations.at(1)->name = "H\xE4rten"; // Windows-1252
    external.operations.at(1)->externalLotSize = 2147483647;
    kalkora::testing::expectGolden("core/golden/scale-refusals.txt", messages + scaleError(external, { 2 }) + "\n");
}

// The worked example's parts are in the stored tables (AnalysisTables); with three shifts,
// other lots and base the parts still add up to what the costing charges.
TEST(CostBreakdown, PartsAddUpToTheCharges)
{
    COrder order = exampleOrder();
    order.quantityBase = 40;
    order.operations.at(0)->shiftMode = 2;
    order.operations.at(0)->lotSize = 37;
    order.operations.at(1)->externalLotSize = 45;
    CPlantData plant = examplePlant();
    plant.operatorFixedRate3 = 21;
    plant.operatorVarRate3 = 33;
    const CostBreakdown other = breakDownCosts(order, plant);
    std::vector<CostParts> rows { other.order };
    for (const OperationBreakdown& op : other.operations)
        rows.push_back(op.parts);
    for (const CostParts& p : rows) {
        EXPECT_NEAR(p.full,
            p.material + p.materialOverhead + p.machineFixed + p.machineVariable + p.operatorFixed + p.operatorVariable
                + p.external + p.externalOverhead,
            1e-5 * p.full);
        EXPECT_NEAR(p.direct, p.material + p.machineVariable + p.operatorVariable + p.external, 1e-5 * p.direct);
    }
    EXPECT_NEAR(other.operations[0].parts.operatorFixed, 21 * (30.0 / 37 + 1) / 60, 1e-6);
    EXPECT_NEAR(other.order.external, 1.5 * 45 / 40, 1e-9);
}

// The tables in the German locale, the CSV files in both dialects. The operations that cannot be
// costed are listed once whatever the quantities.
TEST(AnalysisTables, ByteForByte)
{
    text::LocaleScope german(text::RuntimeLocale::German);
    const COrder order = orderWithUncostedOperations();
    const PriceScale scale = computePriceScale(order, examplePlant(), { 1, 100, 2500 });
    const CostBreakdown breakdown = breakDownCosts(order, examplePlant());
    const std::pair<const char*, std::string> outputs[]
        = { { "scale.txt", priceScaleText(scale, text::NumberStyle::printed(true)) },
              { "breakdown.txt", breakdownText(breakdown, text::NumberStyle::printed(true)) },
              { "scale-german.csv", priceScaleCsv(scale, CsvDialect::German) },
              { "scale-standard.csv", priceScaleCsv(scale, CsvDialect::Standard) },
              { "breakdown-german.csv", breakdownCsv(breakdown, CsvDialect::German) },
              { "breakdown-standard.csv", breakdownCsv(breakdown, CsvDialect::Standard) } };
    for (const auto& [name, text] : outputs)
        kalkora::testing::expectGolden(std::string("core/golden/") + name, text);
    CsvWriter numbers(CsvDialect::German);
    for (const double value : { std::nan(""), -HUGE_VAL, 2.5 })
        numbers.number(value);
    EXPECT_EQ(numbers.take(), "\xEF\xBB\xBFnan;-inf;2,5"); // with the byte-order mark

    ASSERT_EQ(breakdown.messages.size(), 2u);
    for (const auto& quantities : { defaultQuantities(order.quantityBase), std::vector<std::int32_t> { 10 } }) {
        const PriceScale other = computePriceScale(order, examplePlant(), quantities);
        EXPECT_EQ(other.rows.size(), quantities.size());
        EXPECT_EQ(other.uncostedOperations, 2);
        EXPECT_EQ(other.messages, breakdown.messages);
    }
}

TEST(CostAnalysis, QuantityLists)
{
    EXPECT_EQ(defaultQuantities(100), (std::vector<std::int32_t> { 1, 10, 25, 50, 100, 250, 500, 1000 }));
    EXPECT_EQ(defaultQuantities(30), (std::vector<std::int32_t> { 1, 10, 25, 30, 50, 100, 250, 500, 1000 }));
    EXPECT_EQ(defaultQuantities(5000).back(), 5000);

    const struct {
        const char* text;
        std::vector<std::int32_t> quantities; // empty: refused
        QuantityDialect dialect = QuantityDialect::CommandLine;
    } cases[] = { { "1, 10,100", { 1, 10, 100 } }, { " 7 ", { 7 } }, { "2147483647,1", { 2147483647, 1 } }, { "0", {} },
        { "-3", {} }, { "1,", {} }, { "2147483648", {} }, { "99999999999999999999999", {} }, { "+4", {} }, { "  ", {} },
        { "1.000", {} }, { "1.000, 5", { 1000, 5 }, QuantityDialect::Window },
        { "12.345.678", { 12345678 }, QuantityDialect::Window }, { "1.00", {}, QuantityDialect::Window },
        { "1000.000", {}, QuantityDialect::Window }, { ".100", {}, QuantityDialect::Window },
        { "2.147.483.648", {}, QuantityDialect::Window }, { "x.000", {}, QuantityDialect::Window } };
    for (const auto& c : cases) {
        std::vector<std::int32_t> quantities { 42 };
        std::string error;
        EXPECT_EQ(parseQuantities(c.text, c.dialect, quantities, error), !c.quantities.empty()) << c.text;
        EXPECT_EQ(quantities, c.quantities.empty() ? std::vector<std::int32_t> { 42 } : c.quantities) << c.text;
        EXPECT_EQ(error.empty(), !c.quantities.empty()) << c.text;
    }
    // The message counts the entries and shows a long one cut before 24 bytes, never inside a
    // character.
    std::vector<std::int32_t> quantities;
    std::string error;
    EXPECT_FALSE(parseQuantities("1,,2", QuantityDialect::CommandLine, quantities, error));
    EXPECT_TRUE(error.starts_with("Die 2. Menge fehlt")) << error;
    EXPECT_FALSE(parseQuantities("1, abcdefghijklmnopqrstuvwäx", QuantityDialect::CommandLine, quantities, error));
    EXPECT_TRUE(error.starts_with("„abcdefghijklmnopqrstuvw…“ ist keine")) << error;
}
