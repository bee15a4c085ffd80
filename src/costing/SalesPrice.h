#pragma once

#include "costing/CostAnalysis.h"
#include "costing/Money.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace kalkora {

// From the cost of a piece to the price the customer is offered, the German way
// (Zuschlagskalkulation after the Herstellkosten): overheads, profit, Skonto and Provision
// grossed up "im Hundert", the customer's Rabatt; and backwards from a market price. Amounts are
// cents, percentages hundredths of a percent, and every step is rounded once to the cent, half
// away from zero.

struct SalesScheme {
    Percent adminPct; // Verwaltungsgemeinkosten
    Percent salesPct; // Vertriebsgemeinkosten
    Percent profitPct; // Gewinnzuschlag
    Percent cashDiscountPct; // Kundenskonto
    Percent commissionPct; // Vertreterprovision
    Percent discountPct; // Kundenrabatt
    Money oneOffCost; // Einmalkosten, € for the whole quantity
    Money salesDirectPerPiece; // Sondereinzelkosten des Vertriebs, € per piece

    bool operator==(const SalesScheme&) const = default;
};

// One value of the scheme: its key in files, its German name, its command-line option, and the
// values it allows (in hundredths of its unit). Code that reads and writes every value alike
// handles it as that count.
struct SchemeField {
    const char* key;
    const char* germanName; // UTF-8
    const char* option;
    std::int64_t min;
    std::int64_t max;
    std::variant<Percent SalesScheme::*, Money SalesScheme::*> member;

    bool percent() const { return member.index() == 0; }
    std::int64_t countIn(const SalesScheme& scheme) const
    {
        return std::visit([&](auto m) { return (scheme.*m).count(); }, member);
    }
    void setIn(SalesScheme& scheme, std::int64_t count) const
    {
        std::visit([&](auto m) { scheme.*m = std::remove_reference_t<decltype(scheme.*m)>(count); }, member);
    }
};

constexpr std::int64_t kMaxAmount = 9'999'999'999'999; // 99,999,999,999.99 €

inline constexpr std::array<SchemeField, 8> kSchemeFields { {
    { "adminPct", "Verwaltungsgemeinkosten", "admin", 0, 100'000, &SalesScheme::adminPct },
    { "salesPct", "Vertriebsgemeinkosten", "sales", 0, 100'000, &SalesScheme::salesPct },
    { "profitPct", "Gewinnzuschlag", "profit", -9'999, 100'000, &SalesScheme::profitPct },
    { "cashDiscountPct", "Kundenskonto", "cash-discount", 0, 9'999, &SalesScheme::cashDiscountPct },
    { "commissionPct", "Vertreterprovision", "commission", 0, 9'999, &SalesScheme::commissionPct },
    { "discountPct", "Kundenrabatt", "discount", 0, 9'999, &SalesScheme::discountPct },
    { "oneOffCost", "Einmalkosten", "one-off", 0, kMaxAmount, &SalesScheme::oneOffCost },
    { "salesDirectPerPiece", "Sondereinzelkosten des Vertriebs", "sales-direct", 0, kMaxAmount,
        &SalesScheme::salesDirectPerPiece },
} };

// The market price has the range of the scheme's amounts.
inline constexpr SchemeField kMarketPriceField { "marketPrice", "Marktpreis", "market-price", 0, kMaxAmount,
    static_cast<Money SalesScheme::*>(nullptr) };

bool inRange(const SchemeField& field, std::int64_t count);

// A value of `field` as typed (see parseHundredths): its count when it is within the field's range
// and has a sign only where the range has negative values; else whether it is a number outside
// the range ("-0" where there are no negative values is no number at all).
struct SchemeReading {
    std::optional<std::int64_t> value;
    bool outOfRange = false;
};
SchemeReading readSchemeValue(const SchemeField& field, std::string_view typed);

// Why a quantity has no prices (Windows-1252): its costs are not finite or an amount reaches the
// price limit.
std::string unpricedMessage(std::int32_t quantity);

// Skonto and Provision are taken from the Zielverkaufspreis, so together they stay below 100 %.
bool discountsLeaveAPrice(const SalesScheme& scheme);

// One quantity priced forward. When `priced` is false (the cost is not finite, or an amount
// would reach 10^13 cents), every amount is meaningless and shown as none.
struct QuoteRow {
    std::int32_t quantity = 0;
    bool priced = false;
    Money orderCost; // Herstellkosten of the order per piece, as the report prints them
    Money oneOffShare;
    Money manufacturingCost;
    Money adminOverhead;
    Money salesOverhead;
    Money salesDirect;
    Money costPrice; // Selbstkosten
    Money profit;
    Money cashPrice; // Barverkaufspreis
    Money cashDiscount;
    Money commission;
    Money targetPrice; // Zielverkaufspreis
    Money discount;
    Money listPrice; // Listenverkaufspreis
    Money total; // targetPrice × quantity
};

// What a market price leaves at one quantity: none where the row is not priced, and no
// percentage where the Selbstkosten are not positive.
struct MarketRow {
    std::int32_t quantity = 0;
    bool priced = false;
    Money costPrice;
    Money profit;
    std::optional<Percent> profitPct;
};

// The scheme run backwards from a list price the market pays.
struct MarketPricing {
    Money listPrice;
    Money discount;
    Money targetPrice;
    Money cashDiscount;
    Money commission;
    Money cashPrice;
    Money allowedCostPrice; // the Selbstkosten that leave the scheme's profit
    std::vector<MarketRow> rows;
};

struct Quote {
    std::int32_t quantityBase = 0;
    SalesScheme scheme;
    std::vector<QuoteRow> rows; // the quantities of the price scale
    std::optional<MarketPricing> market;
    std::vector<std::string> messages; // Windows-1252: the scale's, then one per row not priced
    int uncostedOperations = 0;
    int unpricedRows = 0;
    bool complete() const { return uncostedOperations == 0 && unpricedRows == 0; }
};

// The messages of a result priced per quantity that name its operations not costed: those
// before the one message per quantity not priced.
template <typename Priced> std::vector<std::string> operationMessages(const Priced& result)
{
    return { result.messages.begin(), result.messages.end() - result.unpricedRows };
}

// What the customer is offered at one quantity, as a quote keeps it once it is sent.
struct OfferedPrice {
    std::int32_t quantity = 0;
    Money listPrice;
    Money discount;
    Money targetPrice;
    Money total;

    bool operator==(const OfferedPrice&) const = default;
};

// What the customer is offered at each quantity that could be priced.
std::vector<OfferedPrice> offeredPrices(const Quote& quote);

// What a quote is priced from: the Herstellkosten per piece at each quantity, of an order's price
// scale or of an assembly.
struct QuoteBasis {
    struct Cost {
        std::int32_t quantity = 0;
        std::optional<Money> perPiece; // none: the quantity cannot be priced
    };
    std::int32_t quantityBase = 0;
    std::vector<Cost> costs;
    std::vector<std::string> messages; // Windows-1252, of the operations not costed
    int uncostedOperations = 0;
};

QuoteBasis basisOf(const PriceScale& scale);

// The scheme backwards from the list price `marketPrice`, with what it leaves at each of `rows`.
MarketPricing priceBackward(Money marketPrice, const SalesScheme& scheme, const std::vector<QuoteRow>& rows);

// The Selbstkosten of a piece whose order costs `orderCost`, the one-off costs shared among
// `pieces` (> 0); none where an amount of the steps reaches 10^13 cents.
std::optional<Money> costPriceOf(Money orderCost, std::int32_t pieces, const SalesScheme& scheme);

// The profit in percent of the Selbstkosten; none where they are not positive.
std::optional<Percent> profitPercent(Money profit, Money costPrice);

// Expects a scheme whose values are in range and leave a price (see above).
Quote computeQuote(const QuoteBasis& basis, const SalesScheme& scheme, std::optional<Money> marketPrice);
inline Quote computeQuote(const PriceScale& scale, const SalesScheme& scheme, std::optional<Money> marketPrice)
{
    return computeQuote(basisOf(scale), scheme, marketPrice);
}

} // namespace kalkora
