#include "costing/QuoteTables.h"

#include "costing/TableWriting.h"
#include "text/NumberFormat.h"
#include "text/RuntimeLocale.h"

#include <optional>

namespace kalkora {

namespace {

constexpr std::array<QuoteStep, 15> kSteps { {
    { "Herstellkosten Auftrag", &QuoteRow::orderCost, nullptr },
    { "Einmalkosten je Stück", &QuoteRow::oneOffShare, nullptr },
    { "Herstellkosten", &QuoteRow::manufacturingCost, nullptr },
    { "Verwaltungsgemeinkosten", &QuoteRow::adminOverhead, &SalesScheme::adminPct },
    { "Vertriebsgemeinkosten", &QuoteRow::salesOverhead, &SalesScheme::salesPct },
    { "Sondereinzelkosten Vertrieb", &QuoteRow::salesDirect, nullptr },
    { "Selbstkosten", &QuoteRow::costPrice, nullptr },
    { "Gewinn", &QuoteRow::profit, &SalesScheme::profitPct },
    { "Barverkaufspreis", &QuoteRow::cashPrice, nullptr },
    { "Kundenskonto", &QuoteRow::cashDiscount, &SalesScheme::cashDiscountPct },
    { "Vertreterprovision", &QuoteRow::commission, &SalesScheme::commissionPct },
    { "Zielverkaufspreis", &QuoteRow::targetPrice, nullptr },
    { "Kundenrabatt", &QuoteRow::discount, &SalesScheme::discountPct },
    { "Listenverkaufspreis", &QuoteRow::listPrice, nullptr },
    { "Gesamtpreis", &QuoteRow::total, nullptr },
} };

constexpr const char* kMarketProfit = "Gewinn beim Marktpreis";
constexpr const char* kMarketProfitPct = "Gewinn beim Marktpreis %";

std::string amount(std::int64_t cents)
{
    return Hundredths(cents).format(text::decimalSeparator());
}

std::string amountOrNone(bool given, std::int64_t cents)
{
    return given ? amount(cents) : "\x97"; // an em dash in Windows-1252
}

std::string percentLabel(const char* title, Hundredths pct)
{
    return cp(title) + " " + pct.format(text::decimalSeparator()) + " %";
}

std::string stepLabel(const QuoteStep& step, const SalesScheme& scheme)
{
    return step.percent ? percentLabel(step.title, scheme.*step.percent) : cp(step.title);
}

std::vector<std::string> quantityLine(const Quote& quote)
{
    std::vector<std::string> line { "Menge" };
    for (const QuoteRow& row : quote.rows)
        line.push_back(text::formatInt(row.quantity));
    return line;
}

std::string forwardText(const Quote& quote)
{
    std::vector<std::vector<std::string>> lines { quantityLine(quote) };
    for (const QuoteStep& step : kSteps) {
        std::vector<std::string>& line = lines.emplace_back(1, stepLabel(step, quote.scheme));
        for (const QuoteRow& row : quote.rows)
            line.push_back(amountOrNone(row.priced, row.*step.amount));
    }
    return alignedTable(lines, true);
}

std::string backwardText(const Quote& quote, const MarketPricing& market)
{
    const SalesScheme& s = quote.scheme;
    std::string out = cp("Rückwärtskalkulation vom Marktpreis") + std::string(kCrLf);
    out += alignedTable(
        {
            { "Listenverkaufspreis (Marktpreis)", amount(market.listPrice) },
            { percentLabel("Kundenrabatt", s.discountPct), amount(market.discount) },
            { "Zielverkaufspreis", amount(market.targetPrice) },
            { percentLabel("Kundenskonto", s.cashDiscountPct), amount(market.cashDiscount) },
            { percentLabel("Vertreterprovision", s.commissionPct), amount(market.commission) },
            { "Barverkaufspreis", amount(market.cashPrice) },
            { cp("Zulässige Selbstkosten bei ") + percentLabel("Gewinn", s.profitPct),
                amount(market.allowedCostPrice) },
        },
        true);
    std::vector<std::vector<std::string>> lines { quantityLine(quote), { "Selbstkosten" }, { kMarketProfit },
        { kMarketProfitPct } };
    for (const MarketRow& row : market.rows) {
        lines[1].push_back(amountOrNone(row.priced, row.costPrice));
        lines[2].push_back(amountOrNone(row.priced, row.profit));
        lines[3].push_back(amountOrNone(row.profitPct.has_value(), row.profitPct.value_or(0)));
    }
    return out + std::string(kCrLf) + alignedTable(lines, true);
}

} // namespace

const std::array<QuoteStep, 15>& quoteSteps()
{
    return kSteps;
}

std::string quoteCsv(const Quote& quote, CsvDialect dialect)
{
    CsvWriter csv(dialect);
    csv.text("Menge");
    for (const QuoteStep& step : kSteps)
        csv.text(step.title);
    if (quote.market) {
        csv.text(kMarketProfit);
        csv.text(kMarketProfitPct);
    }
    csv.endRecord();
    for (std::size_t i = 0; i < quote.rows.size(); ++i) {
        const QuoteRow& row = quote.rows[i];
        csv.integer(row.quantity);
        for (const QuoteStep& step : kSteps) {
            if (row.priced)
                csv.hundredths(row.*step.amount);
            else
                csv.text("");
        }
        if (quote.market) {
            const MarketRow& marketRow = quote.market->rows[i];
            if (marketRow.priced)
                csv.hundredths(marketRow.profit);
            else
                csv.text("");
            if (marketRow.profitPct)
                csv.hundredths(*marketRow.profitPct);
            else
                csv.text("");
        }
        csv.endRecord();
    }
    return csv.take();
}

std::string quoteText(const Quote& quote)
{
    std::string out = cp("Angebotskalkulation (EUR), Stückzahlbasis des Auftrags: ")
        + text::formatInt(quote.quantityBase) + std::string(kCrLf) + std::string(kCrLf);
    out += forwardText(quote);
    if (quote.market)
        out += std::string(kCrLf) + backwardText(quote, *quote.market);
    if (quote.uncostedOperations > 0)
        out += std::string(kCrLf) + incompleteLine(quote.uncostedOperations);
    return out;
}

} // namespace kalkora
