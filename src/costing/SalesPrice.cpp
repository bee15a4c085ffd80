#include "costing/SalesPrice.h"

#include "text/Cp1252.h"
#include "text/NumberFormat.h"

#include <cmath>

namespace kalkora {

namespace {

using Wide = WideCents;

constexpr Wide kHundredPercent = 10'000; // in hundredths of a percent

Wide percentOf(Wide amount, Percent pct)
{
    return roundedQuotient(amount * pct.count(), kHundredPercent);
}

// `amount` grossed up so that `pct` of the result comes off again ("im Hundert").
Wide grossedUp(Wide amount, Wide pct)
{
    return roundedQuotient(amount * kHundredPercent, kHundredPercent - pct);
}

// From the Herstellkosten of the order per piece to the Selbstkosten, the one-off costs shared
// among `pieces`.
struct CostPriceSteps {
    Wide oneOffShare;
    Wide manufacturingCost;
    Wide adminOverhead;
    Wide salesOverhead;
    Wide salesDirect;
    Wide costPrice;
};

CostPriceSteps costPriceSteps(Wide orderCost, std::int32_t pieces, const SalesScheme& s)
{
    CostPriceSteps steps {};
    steps.oneOffShare = roundedQuotient(s.oneOffCost.count(), pieces);
    steps.manufacturingCost = orderCost + steps.oneOffShare;
    steps.adminOverhead = percentOf(steps.manufacturingCost, s.adminPct);
    steps.salesOverhead = percentOf(steps.manufacturingCost, s.salesPct);
    steps.salesDirect = s.salesDirectPerPiece.count();
    steps.costPrice = steps.manufacturingCost + steps.adminOverhead + steps.salesOverhead + steps.salesDirect;
    return steps;
}

// Fills `row` from the cost per piece; false when an amount reaches 10^13 cents.
bool priceForward(QuoteRow& row, Wide orderCost, const SalesScheme& s)
{
    bool fits = true;
    // Each amount is kept in the row as it is computed; one out of range spoils the row.
    const auto keep = [&](Money QuoteRow::*member, Wide value) {
        fits = fits && withinPriceLimit(value);
        if (fits)
            row.*member = Money(std::int64_t(value));
        return value;
    };
    const CostPriceSteps steps = costPriceSteps(orderCost, row.quantity, s);
    keep(&QuoteRow::orderCost, orderCost);
    keep(&QuoteRow::oneOffShare, steps.oneOffShare);
    keep(&QuoteRow::manufacturingCost, steps.manufacturingCost);
    keep(&QuoteRow::adminOverhead, steps.adminOverhead);
    keep(&QuoteRow::salesOverhead, steps.salesOverhead);
    keep(&QuoteRow::salesDirect, steps.salesDirect);
    const Wide costPrice = keep(&QuoteRow::costPrice, steps.costPrice);
    const Wide profit = keep(&QuoteRow::profit, percentOf(costPrice, s.profitPct));
    const Wide cashPrice = keep(&QuoteRow::cashPrice, costPrice + profit);
    const Wide targetPrice
        = keep(&QuoteRow::targetPrice, grossedUp(cashPrice, Wide(s.cashDiscountPct.count()) + s.commissionPct.count()));
    const Wide commission = keep(&QuoteRow::commission, percentOf(targetPrice, s.commissionPct));
    keep(&QuoteRow::cashDiscount, targetPrice - cashPrice - commission);
    const Wide listPrice = keep(&QuoteRow::listPrice, grossedUp(targetPrice, s.discountPct.count()));
    keep(&QuoteRow::discount, listPrice - targetPrice);
    keep(&QuoteRow::total, targetPrice * row.quantity);
    return fits;
}

} // namespace

MarketPricing priceBackward(Money marketPrice, const SalesScheme& s, const std::vector<QuoteRow>& rows)
{
    const auto money = [](Wide cents) { return Money(std::int64_t(cents)); };
    MarketPricing market;
    market.listPrice = marketPrice;
    const Wide listPrice = marketPrice.count();
    const Wide discount = percentOf(listPrice, s.discountPct);
    const Wide targetPrice = listPrice - discount;
    const Wide cashDiscount = percentOf(targetPrice, s.cashDiscountPct);
    const Wide commission = percentOf(targetPrice, s.commissionPct);
    const Wide cashPrice = targetPrice - cashDiscount - commission;
    market.discount = money(discount);
    market.targetPrice = money(targetPrice);
    market.cashDiscount = money(cashDiscount);
    market.commission = money(commission);
    market.cashPrice = money(cashPrice);
    market.allowedCostPrice
        = money(roundedQuotient(cashPrice * kHundredPercent, kHundredPercent + s.profitPct.count()));
    for (const QuoteRow& row : rows) {
        MarketRow& marketRow = market.rows.emplace_back();
        marketRow.quantity = row.quantity;
        marketRow.priced = row.priced;
        if (!row.priced)
            continue;
        const Wide profit = cashPrice - row.costPrice.count();
        marketRow.costPrice = row.costPrice;
        marketRow.profit = money(profit);
        marketRow.profitPct = profitPercent(marketRow.profit, row.costPrice);
    }
    return market;
}

std::optional<Money> costPriceOf(Money orderCost, std::int32_t pieces, const SalesScheme& scheme)
{
    const CostPriceSteps steps = costPriceSteps(orderCost.count(), pieces, scheme);
    for (const Wide amount : { steps.oneOffShare, steps.manufacturingCost, steps.adminOverhead, steps.salesOverhead,
             steps.salesDirect, steps.costPrice })
        if (!withinPriceLimit(amount))
            return std::nullopt;
    return Money(std::int64_t(steps.costPrice));
}

std::optional<Percent> profitPercent(Money profit, Money costPrice)
{
    if (costPrice.count() <= 0)
        return std::nullopt;
    return Percent(std::int64_t(roundedQuotient(Wide(profit.count()) * kHundredPercent, costPrice.count())));
}

std::string unpricedMessage(std::int32_t quantity)
{
    return text::utf8ToCp1252("Die Menge " + std::to_string(quantity)
        + " kann nicht bepreist werden: ihre Kosten sind nicht endlich oder ein Betrag erreicht 100 Milliarden €.");
}

bool inRange(const SchemeField& field, std::int64_t count)
{
    return count >= field.min && count <= field.max;
}

SchemeReading readSchemeValue(const SchemeField& field, std::string_view typed)
{
    const std::optional<std::int64_t> value = parseHundredths(typed);
    if (!value)
        return { std::nullopt, isScaledNumber(typed, 2) };
    if (!inRange(field, *value))
        return { std::nullopt, true };
    // "-0" is no value of a field without negative ones.
    const bool signAllowed = field.min < 0 || !typed.starts_with('-');
    return { signAllowed ? value : std::nullopt, false };
}

bool discountsLeaveAPrice(const SalesScheme& scheme)
{
    return scheme.cashDiscountPct.count() + scheme.commissionPct.count() < kHundredPercent;
}

QuoteBasis basisOf(const PriceScale& scale)
{
    QuoteBasis basis { scale.quantityBase, {}, scale.messages, scale.uncostedOperations };
    basis.costs.reserve(scale.rows.size());
    for (const PriceScaleRow& row : scale.rows)
        basis.costs.push_back({ row.quantity, moneyOf(row.fullPerPiece) });
    return basis;
}

Quote computeQuote(const QuoteBasis& basis, const SalesScheme& scheme, std::optional<Money> marketPrice)
{
    Quote quote;
    quote.quantityBase = basis.quantityBase;
    quote.scheme = scheme;
    quote.messages = basis.messages;
    quote.uncostedOperations = basis.uncostedOperations;
    quote.rows.reserve(basis.costs.size());
    for (const QuoteBasis::Cost& cost : basis.costs) {
        QuoteRow& row = quote.rows.emplace_back();
        row.quantity = cost.quantity;
        row.priced = cost.perPiece && priceForward(row, cost.perPiece->count(), scheme);
        if (!row.priced) {
            row = QuoteRow();
            row.quantity = cost.quantity;
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
            offered.push_back({ row.quantity, row.listPrice, row.discount, row.targetPrice, row.total });
        }
    }
    return offered;
}

} // namespace kalkora
