#include "costing/SalesPrice.h"

#include "text/Cp1252.h"
#include "text/NumberFormat.h"

#include <cmath>

namespace kalkora {

namespace {

using Wide = __int128; // no product of two allowed values and a divisor overflows it

constexpr Wide kHundredPercent = 10'000; // in hundredths of a percent
constexpr Wide kTooLarge = 10'000'000'000'000; // 10^13 cents

// n ÷ d rounded half away from zero; d > 0.
Wide roundedQuotient(Wide n, Wide d)
{
    const Wide magnitude = (2 * (n < 0 ? -n : n) + d) / (2 * d);
    return n < 0 ? -magnitude : magnitude;
}

Wide percentOf(Wide amount, Hundredths pct)
{
    return roundedQuotient(amount * pct.count(), kHundredPercent);
}

// `amount` grossed up so that `pct` of the result comes off again ("im Hundert").
Wide grossedUp(Wide amount, Wide pct)
{
    return roundedQuotient(amount * kHundredPercent, kHundredPercent - pct);
}

// The cost per piece in cents exactly as the report prints it: two decimals from the double's
// binary value, ties away from zero. Nothing when it is not finite or far out of range.
std::optional<Wide> costInCents(double perPiece)
{
    if (!std::isfinite(perPiece) || std::fabs(perPiece) >= 1e12)
        return std::nullopt;
    const std::string printed = text::formatFixed(perPiece, 0, 2);
    Wide cents = 0;
    for (const char c : printed) {
        if (c >= '0' && c <= '9')
            cents = cents * 10 + (c - '0');
    }
    return printed.front() == '-' ? -cents : cents;
}

// Fills `row` from the cost per piece; false when an amount reaches 10^13 cents.
bool priceForward(QuoteRow& row, Wide orderCost, const SalesScheme& s)
{
    const Wide oneOffShare = roundedQuotient(s.oneOffCost.count(), row.quantity);
    const Wide manufacturingCost = orderCost + oneOffShare;
    const Wide adminOverhead = percentOf(manufacturingCost, s.adminPct);
    const Wide salesOverhead = percentOf(manufacturingCost, s.salesPct);
    const Wide salesDirect = s.salesDirectPerPiece.count();
    const Wide costPrice = manufacturingCost + adminOverhead + salesOverhead + salesDirect;
    const Wide profit = percentOf(costPrice, s.profitPct);
    const Wide cashPrice = costPrice + profit;
    const Wide targetPrice = grossedUp(cashPrice, Wide(s.cashDiscountPct.count()) + s.commissionPct.count());
    const Wide commission = percentOf(targetPrice, s.commissionPct);
    const Wide cashDiscount = targetPrice - cashPrice - commission;
    const Wide listPrice = grossedUp(targetPrice, s.discountPct.count());
    const Wide discount = listPrice - targetPrice;
    const Wide total = targetPrice * row.quantity;

    const std::pair<std::int64_t QuoteRow::*, Wide> amounts[] = { { &QuoteRow::orderCost, orderCost },
        { &QuoteRow::oneOffShare, oneOffShare }, { &QuoteRow::manufacturingCost, manufacturingCost },
        { &QuoteRow::adminOverhead, adminOverhead }, { &QuoteRow::salesOverhead, salesOverhead },
        { &QuoteRow::salesDirect, salesDirect }, { &QuoteRow::costPrice, costPrice }, { &QuoteRow::profit, profit },
        { &QuoteRow::cashPrice, cashPrice }, { &QuoteRow::cashDiscount, cashDiscount },
        { &QuoteRow::commission, commission }, { &QuoteRow::targetPrice, targetPrice },
        { &QuoteRow::discount, discount }, { &QuoteRow::listPrice, listPrice }, { &QuoteRow::total, total } };
    for (const auto& [member, value] : amounts) {
        if (value <= -kTooLarge || value >= kTooLarge)
            return false;
    }
    for (const auto& [member, value] : amounts)
        row.*member = std::int64_t(value);
    return true;
}

MarketPricing priceBackward(Hundredths marketPrice, const SalesScheme& s, const std::vector<QuoteRow>& rows)
{
    MarketPricing market;
    market.listPrice = marketPrice.count();
    market.discount = std::int64_t(percentOf(market.listPrice, s.discountPct));
    market.targetPrice = market.listPrice - market.discount;
    market.cashDiscount = std::int64_t(percentOf(market.targetPrice, s.cashDiscountPct));
    market.commission = std::int64_t(percentOf(market.targetPrice, s.commissionPct));
    market.cashPrice = market.targetPrice - market.cashDiscount - market.commission;
    market.allowedCostPrice = std::int64_t(
        roundedQuotient(Wide(market.cashPrice) * kHundredPercent, kHundredPercent + s.profitPct.count()));
    for (const QuoteRow& row : rows) {
        MarketRow& marketRow = market.rows.emplace_back();
        marketRow.quantity = row.quantity;
        marketRow.priced = row.priced;
        if (!row.priced)
            continue;
        marketRow.costPrice = row.costPrice;
        marketRow.profit = market.cashPrice - row.costPrice;
        if (row.costPrice > 0)
            marketRow.profitPct
                = std::int64_t(roundedQuotient(Wide(marketRow.profit) * kHundredPercent, row.costPrice));
    }
    return market;
}

std::string unpricedMessage(std::int32_t quantity)
{
    return text::utf8ToCp1252("Die Menge " + std::to_string(quantity)
        + " kann nicht bepreist werden: ihre Kosten sind nicht endlich oder ein Betrag erreicht 100 Milliarden €.");
}

} // namespace

bool inRange(const SchemeField& field, Hundredths value)
{
    return value.count() >= field.min && value.count() <= field.max;
}

std::optional<Hundredths> readSchemeValue(const SchemeField& field, std::string_view typed)
{
    const std::optional<Hundredths> value = Hundredths::parse(typed);
    // "-0" is no value of a field without negative ones.
    const bool signAllowed = field.min < 0 || !typed.starts_with('-');
    if (value && signAllowed && inRange(field, *value))
        return value;
    return std::nullopt;
}

bool discountsLeaveAPrice(const SalesScheme& scheme)
{
    return scheme.cashDiscountPct.count() + scheme.commissionPct.count() < kHundredPercent;
}

Quote computeQuote(const PriceScale& scale, const SalesScheme& scheme, std::optional<Hundredths> marketPrice)
{
    Quote quote;
    quote.quantityBase = scale.quantityBase;
    quote.scheme = scheme;
    quote.messages = scale.messages;
    quote.uncostedOperations = scale.uncostedOperations;
    quote.rows.reserve(scale.rows.size());
    for (const PriceScaleRow& scaleRow : scale.rows) {
        QuoteRow& row = quote.rows.emplace_back();
        row.quantity = scaleRow.quantity;
        const std::optional<Wide> orderCost = costInCents(scaleRow.fullPerPiece);
        row.priced = orderCost && priceForward(row, *orderCost, scheme);
        if (!row.priced) {
            row = QuoteRow { .quantity = scaleRow.quantity };
            ++quote.unpricedRows;
            quote.messages.push_back(unpricedMessage(row.quantity));
        }
    }
    if (marketPrice)
        quote.market = priceBackward(*marketPrice, scheme, quote.rows);
    return quote;
}

std::vector<OfferedPrice> offeredPrices(const Quote& quote)
{
    std::vector<OfferedPrice> offered;
    for (const QuoteRow& row : quote.rows) {
        if (row.priced) {
            offered.push_back({ row.quantity, Hundredths(row.listPrice), Hundredths(row.discount),
                Hundredths(row.targetPrice), Hundredths(row.total) });
        }
    }
    return offered;
}

} // namespace kalkora
