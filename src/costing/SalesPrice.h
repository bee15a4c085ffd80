#pragma once

#include "costing/CostAnalysis.h"
#include "costing/Hundredths.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalkora {

// From the cost of a piece to the price the customer is offered, the German way
// (Zuschlagskalkulation after the Herstellkosten): overheads, profit, Skonto and Provision
// grossed up "im Hundert", the customer's Rabatt; and backwards from a market price. Amounts are
// cents, percentages hundredths of a percent, and every step is rounded once to the cent, half
// away from zero.

struct SalesScheme {
    Hundredths adminPct; // Verwaltungsgemeinkosten
    Hundredths salesPct; // Vertriebsgemeinkosten
    Hundredths profitPct; // Gewinnzuschlag
    Hundredths cashDiscountPct; // Kundenskonto
    Hundredths commissionPct; // Vertreterprovision
    Hundredths discountPct; // Kundenrabatt
    Hundredths oneOffCost; // Einmalkosten, € for the whole quantity
    Hundredths salesDirectPerPiece; // Sondereinzelkosten des Vertriebs, € per piece

    bool operator==(const SalesScheme&) const = default;
};

// One value of the scheme: its key in files, its German name, its command-line option, and the
// values it allows (in hundredths).
struct SchemeField {
    const char* key;
    const char* germanName; // UTF-8
    const char* option;
    bool percent;
    std::int64_t min;
    std::int64_t max;
    Hundredths SalesScheme::*member;
};

constexpr std::int64_t kMaxAmount = 9'999'999'999'999; // 99,999,999,999.99 €

inline constexpr std::array<SchemeField, 8> kSchemeFields { {
    { "adminPct", "Verwaltungsgemeinkosten", "admin", true, 0, 100'000, &SalesScheme::adminPct },
    { "salesPct", "Vertriebsgemeinkosten", "sales", true, 0, 100'000, &SalesScheme::salesPct },
    { "profitPct", "Gewinnzuschlag", "profit", true, -9'999, 100'000, &SalesScheme::profitPct },
    { "cashDiscountPct", "Kundenskonto", "cash-discount", true, 0, 9'999, &SalesScheme::cashDiscountPct },
    { "commissionPct", "Vertreterprovision", "commission", true, 0, 9'999, &SalesScheme::commissionPct },
    { "discountPct", "Kundenrabatt", "discount", true, 0, 9'999, &SalesScheme::discountPct },
    { "oneOffCost", "Einmalkosten", "one-off", false, 0, kMaxAmount, &SalesScheme::oneOffCost },
    { "salesDirectPerPiece", "Sondereinzelkosten des Vertriebs", "sales-direct", false, 0, kMaxAmount,
        &SalesScheme::salesDirectPerPiece },
} };

// The market price has the range of the scheme's amounts.
inline constexpr SchemeField kMarketPriceField { "marketPrice", "Marktpreis", "market-price", false, 0, kMaxAmount,
    nullptr };

bool inRange(const SchemeField& field, Hundredths value);

// A value of `field` as typed (see Hundredths::parse), within its range and with a sign only
// where the range has negative values; nothing otherwise.
std::optional<Hundredths> readSchemeValue(const SchemeField& field, std::string_view typed);

// Skonto and Provision are taken from the Zielverkaufspreis, so together they stay below 100 %.
bool discountsLeaveAPrice(const SalesScheme& scheme);

// One quantity priced forward. When `priced` is false (the cost is not finite, or an amount
// would reach 10^13 cents), every amount is meaningless and shown as none.
struct QuoteRow {
    std::int32_t quantity = 0;
    bool priced = false;
    std::int64_t orderCost = 0; // Herstellkosten of the order per piece, as the report prints them
    std::int64_t oneOffShare = 0;
    std::int64_t manufacturingCost = 0;
    std::int64_t adminOverhead = 0;
    std::int64_t salesOverhead = 0;
    std::int64_t salesDirect = 0;
    std::int64_t costPrice = 0; // Selbstkosten
    std::int64_t profit = 0;
    std::int64_t cashPrice = 0; // Barverkaufspreis
    std::int64_t cashDiscount = 0;
    std::int64_t commission = 0;
    std::int64_t targetPrice = 0; // Zielverkaufspreis
    std::int64_t discount = 0;
    std::int64_t listPrice = 0; // Listenverkaufspreis
    std::int64_t total = 0; // targetPrice × quantity
};

// What a market price leaves at one quantity: none where the row is not priced, and no
// percentage where the Selbstkosten are not positive.
struct MarketRow {
    std::int32_t quantity = 0;
    bool priced = false;
    std::int64_t costPrice = 0;
    std::int64_t profit = 0;
    std::optional<std::int64_t> profitPct; // hundredths of a percent
};

// The scheme run backwards from a list price the market pays.
struct MarketPricing {
    std::int64_t listPrice = 0;
    std::int64_t discount = 0;
    std::int64_t targetPrice = 0;
    std::int64_t cashDiscount = 0;
    std::int64_t commission = 0;
    std::int64_t cashPrice = 0;
    std::int64_t allowedCostPrice = 0; // the Selbstkosten that leave the scheme's profit
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

// What the customer is offered at one quantity, as a quote keeps it once it is sent.
struct OfferedPrice {
    std::int32_t quantity = 0;
    Hundredths listPrice;
    Hundredths discount;
    Hundredths targetPrice;
    Hundredths total;

    bool operator==(const OfferedPrice&) const = default;
};

// What the customer is offered at each quantity that could be priced.
std::vector<OfferedPrice> offeredPrices(const Quote& quote);

// Expects a scheme whose values are in range and leave a price (see above).
Quote computeQuote(const PriceScale& scale, const SalesScheme& scheme, std::optional<Hundredths> marketPrice);

} // namespace kalkora
