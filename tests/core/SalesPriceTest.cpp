#include "costing/SalesPrice.h"

#include "Golden.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace kalkora;

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

// adminPct, salesPct, profitPct, cashDiscountPct, commissionPct, discountPct, oneOffCost,
// salesDirectPerPiece, in hundredths.
using SchemeValues = std::array<std::int64_t, 8>;

SalesScheme schemeOf(const SchemeValues& values)
{
    SalesScheme scheme;
    for (std::size_t i = 0; i < kSchemeFields.size(); ++i)
        kSchemeFields[i].setIn(scheme, values[i]);
    return scheme;
}

PriceScale scaleOf(double fullPerPiece, std::int32_t quantity)
{
    PriceScale scale;
    scale.rows.push_back({ .quantity = quantity, .fullPerPiece = fullPerPiece });
    return scale;
}

// Each case's quantity and cents (manufacturing cost, cost price, cash price, cash discount,
// commission, target price, list price, total) are stored beside the tests.
TEST(SalesPrice, ForwardEveryStepRoundedOnceHalfAwayFromZero)
{
    const struct {
        const char* what;
        double cost;
        std::int32_t quantity;
        SchemeValues scheme;
    } cases[] = {
        { "textbook 10/2/5", 100.00, 1, { 0, 0, 1000, 200, 0, 500, 0, 0 } },
        { "textbook 18/2/12", 202.09, 1, { 0, 0, 1800, 200, 0, 1200, 0, 0 } },
        { "cost printed with ties away", 0.125, 3, {} },
        { "negative cost", -0.125, 1, {} },
        { "one-off share at the half cent", 1.00, 2, { 0, 0, 0, 0, 0, 0, 1, 0 } },
        { "overheads at the half cent", 1.00, 1, { 50, 150, 0, 0, 0, 0, 0, 0 } },
        { "profit on a negative cost", -1.00, 1, { 0, 0, 50, 0, 0, 0, 0, 0 } },
        { "im Hundert at the half cent, Provision first", 0.02, 1, { 0, 0, 0, 0, 2000, 2000, 0, 0 } },
        { "Rabatt at the half cent", 0.02, 1, { 0, 0, 0, 0, 0, 2000, 0, 0 } },
        { "sales direct costs per piece", 10.00, 5, { 1000, 0, 0, 0, 0, 0, 0, 250 } },
        { "the largest cost that prices", 99999999999.99, 1, {} },
        { "the largest total", 1000.00, 99'999'999, {} },
        { "total reaches 10^13 cents", 1000.00, 100'000'000, {} },
        { "list price reaches 10^13 cents", 5e10, 1, { 0, 0, 0, 0, 0, 5000, 0, 0 } },
        { "cost reaches 10^13 cents", -1e11, 1, {} },
        { "cost not finite", inf, 1, {} },
        { "cost not a number", std::nan(""), 1, {} },
    };
    std::string table;
    for (const auto& c : cases) {
        const Quote quote = computeQuote(scaleOf(c.cost, c.quantity), schemeOf(c.scheme), std::nullopt);
        const QuoteRow& row = quote.rows.at(0);
        EXPECT_EQ(quote.complete(), row.priced) << c.what;
        table += std::string(c.what) + (row.priced ? ": " : ", not priced: ") + std::to_string(row.quantity);
        for (const Money cents : { row.manufacturingCost, row.costPrice, row.cashPrice, row.cashDiscount,
                 row.commission, row.targetPrice, row.listPrice, row.total })
            table += " " + std::to_string(cents.count());
        table += "\n";
    }
    kalkora::testing::expectGolden("core/golden/forward-quotes.txt", table);
}

TEST(SalesPrice, BackwardFromAMarketPrice)
{
    PriceScale scale;
    scale.uncostedOperations = 1;
    scale.messages = { "missing machine" };
    for (const auto& [quantity, cost] : { std::pair { 1, 100.00 }, { 10, 0.0 }, { 100, inf } })
        scale.rows.push_back({ .quantity = quantity, .fullPerPiece = cost });
    const Quote quote = computeQuote(scale, schemeOf({ 0, 0, 2000, 200, 300, 500, 0, 0 }), Money(320000));
    ASSERT_TRUE(quote.market);
    const MarketPricing& m = *quote.market;
    std::vector<std::int64_t> market;
    for (const Money amount :
        { m.listPrice, m.discount, m.targetPrice, m.cashDiscount, m.commission, m.cashPrice, m.allowedCostPrice })
        market.push_back(amount.count());
    EXPECT_EQ(market, (std::vector<std::int64_t> { 320000, 16000, 304000, 6080, 9120, 288800, 240667 }));
    ASSERT_EQ(m.rows.size(), 3u);
    EXPECT_EQ(m.rows[0].profit, Money(278800));
    EXPECT_EQ(m.rows[0].profitPct, Percent(278800)); // 2,788.00 % of 100.00
    EXPECT_EQ(m.rows[1].profit, Money(288800));
    EXPECT_EQ(m.rows[1].profitPct, std::nullopt); // no Selbstkosten to relate the profit to
    EXPECT_FALSE(m.rows[2].priced);
    EXPECT_EQ(m.rows[2].profitPct, std::nullopt);

    EXPECT_EQ(quote.uncostedOperations, 1);
    EXPECT_EQ(quote.unpricedRows, 1);
    ASSERT_EQ(quote.messages.size(), 2u);
    EXPECT_EQ(quote.messages[0], "missing machine");
    EXPECT_NE(quote.messages[1].find("Die Menge 100 kann nicht bepreist werden"), std::string::npos);
}

TEST(Money, ParseTakesAtMostTwoDecimalsAndNothingElse)
{
    const std::pair<const char*, std::optional<std::int64_t>> cases[]
        = { { "8", 800 }, { "8.5", 850 }, { "8,5", 850 }, { "-3,25", -325 }, { "0", 0 }, { "007.10", 710 },
              { "99999999999.99", 9999999999999 }, { "999999999999999", 99999999999999900 }, { "", std::nullopt },
              { "-", std::nullopt }, { "+1", std::nullopt }, { " 1", std::nullopt }, { "1 ", std::nullopt },
              { ".5", std::nullopt }, { "5.", std::nullopt }, { "5,", std::nullopt }, { "1e2", std::nullopt },
              { "8.500", std::nullopt }, { "1.000,00", std::nullopt }, { "abc", std::nullopt }, { "--1", std::nullopt },
              { "1.2.3", std::nullopt }, { "1.x", std::nullopt }, { "1000000000000000", std::nullopt } };
    for (const auto& [text, count] : cases) {
        EXPECT_EQ(parseHundredths(text), count) << '"' << text << '"';
    }
}

TEST(Money, FormatWithAndWithoutGrouping)
{
    const struct {
        std::int64_t count;
        char group;
        const char* text;
    } cases[]
        = { { 0, 0, "0,00" }, { -5, 0, "-0,05" }, { 123456789, 0, "1234567,89" }, { 123456789, '.', "1.234.567,89" },
              { 100000, '.', "1.000,00" }, { 99999, '.', "999,99" }, { -9999999999999, '.', "-99.999.999.999,99" },
              { std::numeric_limits<std::int64_t>::min(), 0, "-92233720368547758,08" } };
    for (const auto& c : cases)
        EXPECT_EQ(formatHundredths(c.count, ',', c.group), c.text) << c.count;
    EXPECT_EQ(Money(-325).format('.'), "-3.25");
}

} // namespace
