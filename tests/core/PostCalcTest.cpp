#include "costing/PostCalc.h"

#include "ExampleData.h"
#include "costing/CostAnalysis.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace kalkora;
using kalkora::testing::exampleOrder;
using kalkora::testing::examplePlant;

namespace {

Actual actual(
    std::int32_t operation, const char* name, std::initializer_list<std::pair<ActualFieldIndex, double>> values)
{
    Actual measured { operation, name, {} };
    for (const auto& [field, value] : values)
        measured.values[field] = value;
    return measured;
}

// The worked example: Drehen set up in 45 instead of 30 minutes at 2.3 instead of 2 minutes a
// piece, Haerten at 1.65 instead of 1.50 €, 97 of 100 pieces good, offered at 7.32 €.
const std::vector<Actual> kMeasured = { actual(1, "Drehen", { { SetupTimeField, 45 }, { MachineTimeField, 2.3 } }),
    actual(2, "Haerten", { { ExternalCostField, 1.65 } }) };
const OfferedQuote kOffered { SalesScheme { Percent(1000), Percent(500), Percent(1200), Percent(200), Percent(0),
                                  Percent(500), Money(0), Money(0) },
    Money(732) };

std::optional<std::int64_t> cents(double euros)
{
    const std::optional<Money> money = moneyOf(euros);
    return money ? std::optional(money->count()) : std::nullopt;
}

} // namespace

// Plan and actual of the example per operation and for the order, the shares adding up, the
// cost per good piece and the profit against the quote, each as the report and the quote round.
TEST(PostCalc, TheWorkedExampleByHand)
{
    const PostCalcResult result = postCalculate(exampleOrder(), examplePlant(), 100, 97, kMeasured, kOffered);
    ASSERT_EQ(result.operations.size(), 2u);
    const PostCalcOperation& turning = result.operations[0];
    const PostCalcOperation& hardening = result.operations[1];
    EXPECT_EQ(turning.changed, (1u << SetupTimeField) | (1u << MachineTimeField));
    EXPECT_EQ(hardening.changed, 1u << ExternalCostField);
    // Plan at the quantity base is the report: 3.64 + 1.65 = 5.29.
    EXPECT_EQ(cents(turning.full.plan), 364);
    EXPECT_EQ(cents(turning.full.actual), 387);
    EXPECT_DOUBLE_EQ(hardening.full.plan, 1.5 * 1.1);
    EXPECT_NEAR(hardening.full.actual, 1.65 * 1.1, 1e-6);
    EXPECT_NEAR(hardening.direct.actual, 1.65, 1e-6);
    EXPECT_EQ(hardening.full.deviationPercent(), Percent(1000));
    for (const auto& [side, total] : { std::pair { &PlanActual::plan, result.fullPerPiece.plan },
             { &PlanActual::actual, result.fullPerPiece.actual } })
        EXPECT_NEAR(turning.full.*side + hardening.full.*side, total, 1e-12);
    EXPECT_EQ(cents(result.fullPerPiece.plan), 529);
    EXPECT_EQ(cents(result.fullPerPiece.actual), 569);
    EXPECT_DOUBLE_EQ(result.fullTotal.actual, result.fullPerPiece.actual * 100);
    ASSERT_TRUE(result.fullPerGoodPiece);
    EXPECT_DOUBLE_EQ(*result.fullPerGoodPiece, result.fullTotal.actual / 97);
    EXPECT_EQ(result.fullPerPiece.deviationPercent(), Percent(750));

    // 7.32 less 5 % Rabatt (0.37) is 6.95, less 2 % Skonto (0.14) 6.81. Planned Selbstkosten
    // 5.29 + 0.53 + 0.26 = 6.08; actual 5.86 + 0.59 + 0.29 = 6.74 per good piece.
    ASSERT_TRUE(result.quote);
    const QuoteComparison& quote = *result.quote;
    EXPECT_EQ(quote.cashPrice, Money(681));
    EXPECT_EQ(quote.plannedCostPrice, Money(608));
    EXPECT_EQ(quote.actualCostPrice, Money(674));
    EXPECT_EQ(quote.plannedProfit(), Money(73));
    EXPECT_EQ(quote.actualProfit(), Money(7));
    EXPECT_EQ(quote.plannedProfitPercent(), Percent(1201));
    EXPECT_EQ(quote.actualProfitPercent(), Percent(104));
    EXPECT_TRUE(result.complete());
}

// Lots scale to the quantity produced, and an actual lot replaces the scaled one; one-off costs
// are shared among the produced pieces in the plan and among the good ones in the actual.
TEST(PostCalc, LotsAndOneOffCosts)
{
    COrder order = exampleOrder();
    const PostCalcResult doubled = postCalculate(order, examplePlant(), 200, 200, {}, std::nullopt);
    // The setup share per piece halves with a lot of 200 instead of 100.
    const PostCalcResult base = postCalculate(order, examplePlant(), 100, 100, {}, std::nullopt);
    EXPECT_LT(doubled.operations[0].full.plan, base.operations[0].full.plan);
    EXPECT_DOUBLE_EQ(doubled.fullTotal.plan, doubled.fullPerPiece.plan * 200);

    // Haerten bought for 50 pieces only: its share of each of the 100 is half.
    const PostCalcResult half = postCalculate(
        order, examplePlant(), 100, 100, { actual(2, "Haerten", { { ExternalLotSizeField, 50 } }) }, std::nullopt);
    EXPECT_DOUBLE_EQ(half.operations[1].full.actual, 1.65 * 50 / 100);
    EXPECT_EQ(half.operations[1].full.deviationPercent(), Percent(-5000));

    OfferedQuote tooled = kOffered;
    tooled.scheme.oneOffCost = Money(10000); // 100 € of tooling: 1.00 per planned, 1.25 per good piece
    const PostCalcResult shared = postCalculate(order, examplePlant(), 100, 80, {}, tooled);
    ASSERT_TRUE(shared.quote);
    // Plan (5.29 + 1.00) × 1.15 = 7.24 (0.63 + 0.31 rounded apart); actual 6.61 + 1.25 = 7.86.
    EXPECT_EQ(shared.quote->plannedCostPrice, Money(629 + 63 + 31));
    EXPECT_EQ(shared.quote->actualCostPrice, Money(786 + 79 + 39));
}

// Without good pieces there is no cost per good piece and no comparison with the quote; an
// operation that cannot be costed has shares 0 and no percentages; an order that cannot be
// scaled is refused.
TEST(PostCalc, NoGoodPiecesUncostedOperationsAndBadOrders)
{
    const PostCalcResult none = postCalculate(exampleOrder(), examplePlant(), 100, 0, kMeasured, kOffered);
    EXPECT_FALSE(none.fullPerGoodPiece);
    EXPECT_FALSE(none.quote);
    EXPECT_EQ(none.noQuoteReason, "Ohne Gutstücke gibt es keinen Vergleich mit dem Angebot.");

    COrder order = exampleOrder();
    order.operations.at(0)->machineName = "Fräse";
    const PostCalcResult uncosted = postCalculate(order, examplePlant(), 100, 100, kMeasured, std::nullopt);
    EXPECT_FALSE(uncosted.complete());
    EXPECT_FALSE(uncosted.operations[0].costed);
    EXPECT_EQ(uncosted.operations[0].full.actual, 0);
    EXPECT_DOUBLE_EQ(uncosted.fullPerPiece.actual, uncosted.operations[1].full.actual);
    EXPECT_EQ(uncosted.messages.size(), 1u);

    order = exampleOrder();
    order.quantityBase = 0;
    EXPECT_THROW(postCalculate(order, examplePlant(), 100, 100, {}, std::nullopt), PriceScaleError);
    order.quantityBase = 1;
    // A lot of 100 per piece of the base becomes 300 for three pieces: each carries 100 hardenings.
    EXPECT_DOUBLE_EQ(postCalculate(order, examplePlant(), 3, 3, {}, std::nullopt).operations[1].full.plan, 1.65 * 100);
    EXPECT_THROW(postCalculate(order, examplePlant(), std::numeric_limits<std::int32_t>::max(), 1, {}, std::nullopt),
        PriceScaleError);
}

// The deviation in percent of the plan, rounded once from the exact quotient of the two doubles.
TEST(PostCalc, DeviationPercentIsExact)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct {
        PlanActual figure;
        std::optional<std::int64_t> hundredths;
    } rows[] = {
        { { 1, 1.01715 }, 171 }, // 1.7149999…: computed in doubles it would give 172
        { { 2, 1 }, -5000 },
        { { 20000, 20001 }, 1 }, // half a hundredth, away from zero
        { { -20000, -20001 }, 1 }, // a negative plan: the deviation in percent of its size
        { { 0, 1 }, std::nullopt },
        { { inf, 1 }, std::nullopt },
        { { 1, inf }, std::nullopt },
        { { 1e-300, 1e300 }, std::nullopt }, // beyond the limit of a percentage
        { { 1e300, 1e300 + 1e284 }, 0 },
        { { 3, 3 }, 0 },
    };
    for (const auto& row : rows) {
        const std::optional<Percent> percent = row.figure.deviationPercent();
        EXPECT_EQ(percent ? std::optional(percent->count()) : std::nullopt, row.hundredths)
            << row.figure.plan << " → " << row.figure.actual;
    }
}

// Actuals must fit the order they are compared with: numbers within it, names unchanged, no more
// good pieces than produced.
TEST(PostCalc, ActualsThatDoNotFitTheOrder)
{
    const COrder order = exampleOrder();
    const struct {
        std::vector<Actual> actuals;
        std::int32_t good;
        std::optional<std::string> mismatch;
    } rows[] = {
        { kMeasured, 100, std::nullopt },
        { { actual(2, "Drehen", {}) }, 100,
            "Arbeitsgang 2 heißt im Auftrag „Haerten“, in der Nachkalkulation „Drehen“." },
        { { actual(3, "Drehen", {}) }, 100,
            "actuals[0].operation: Der Auftrag hat keinen Arbeitsgang 3, er hat 2 Arbeitsgänge." },
        { {}, 101, "goodQuantity: 101 Gutstücke sind mehr als die 100 produzierten." },
    };
    for (const auto& row : rows)
        EXPECT_EQ(actualsMismatch(order, row.actuals, 100, row.good), row.mismatch);
}
