#include "costing/QuoteTables.h"

#include "costing/TableWriting.h"
#include "text/NumberFormat.h"

namespace kalkora {

namespace {

template <Money QuoteRow::*amount> Cell pricedAmount(const QuoteRow& row)
{
    return row.priced ? Cell(row.*amount) : Cell();
}

constexpr Column<QuoteRow, SchemePercent> kQuoteColumns[] = {
    { kQuantityKey, kQuantityTitle, ColumnKind::Count, field<&QuoteRow::quantity>, InCsv | InJson | InText },
    { "priced", nullptr, ColumnKind::Flag, field<&QuoteRow::priced>, InJson },
    { "orderCost", "Herstellkosten Auftrag", ColumnKind::Amount, pricedAmount<&QuoteRow::orderCost> },
    { "oneOffShare", "Einmalkosten je Stück", ColumnKind::Amount, pricedAmount<&QuoteRow::oneOffShare> },
    { "manufacturingCost", "Herstellkosten", ColumnKind::Amount, pricedAmount<&QuoteRow::manufacturingCost> },
    { "adminOverhead", "Verwaltungsgemeinkosten", ColumnKind::Amount, pricedAmount<&QuoteRow::adminOverhead>,
        Everywhere, nullptr, &SalesScheme::adminPct },
    { "salesOverhead", "Vertriebsgemeinkosten", ColumnKind::Amount, pricedAmount<&QuoteRow::salesOverhead>, Everywhere,
        nullptr, &SalesScheme::salesPct },
    { "salesDirect", "Sondereinzelkosten Vertrieb", ColumnKind::Amount, pricedAmount<&QuoteRow::salesDirect> },
    { "costPrice", "Selbstkosten", ColumnKind::Amount, pricedAmount<&QuoteRow::costPrice> },
    { "profit", "Gewinn", ColumnKind::Amount, pricedAmount<&QuoteRow::profit>, Everywhere, nullptr,
        &SalesScheme::profitPct },
    { "cashPrice", "Barverkaufspreis", ColumnKind::Amount, pricedAmount<&QuoteRow::cashPrice> },
    { "cashDiscount", "Kundenskonto", ColumnKind::Amount, pricedAmount<&QuoteRow::cashDiscount>, Everywhere, nullptr,
        &SalesScheme::cashDiscountPct },
    { "commission", "Vertreterprovision", ColumnKind::Amount, pricedAmount<&QuoteRow::commission>, Everywhere, nullptr,
        &SalesScheme::commissionPct },
    { "targetPrice", "Zielverkaufspreis", ColumnKind::Amount, pricedAmount<&QuoteRow::targetPrice> },
    { "discount", "Kundenrabatt", ColumnKind::Amount, pricedAmount<&QuoteRow::discount>, Everywhere, nullptr,
        &SalesScheme::discountPct },
    { "listPrice", "Listenverkaufspreis", ColumnKind::Amount, pricedAmount<&QuoteRow::listPrice> },
    { "total", "Gesamtpreis", ColumnKind::Amount, pricedAmount<&QuoteRow::total> },
};

constexpr Column<MarketRow> kMarketRowColumns[] = {
    { kQuantityKey, kQuantityTitle, ColumnKind::Count, field<&MarketRow::quantity>, InJson | InText },
    { "priced", nullptr, ColumnKind::Flag, field<&MarketRow::priced>, InJson },
    { "costPrice", "Selbstkosten", ColumnKind::Amount,
        [](const MarketRow& row) { return row.priced ? Cell(row.costPrice) : Cell(); }, InJson | InText },
    { "profit", "Gewinn beim Marktpreis", ColumnKind::Amount,
        [](const MarketRow& row) { return row.priced ? Cell(row.profit) : Cell(); } },
    { "profitPct", "Gewinn beim Marktpreis %", ColumnKind::Percent,
        [](const MarketRow& row) { return row.profitPct ? Cell(*row.profitPct) : Cell(); } },
};

constexpr Column<MarketPricing, SchemePercent> kMarketColumns[] = {
    { "listPrice", "Listenverkaufspreis (Marktpreis)", ColumnKind::Amount, field<&MarketPricing::listPrice> },
    { "discount", "Kundenrabatt", ColumnKind::Amount, field<&MarketPricing::discount>, Everywhere, nullptr,
        &SalesScheme::discountPct },
    { "targetPrice", "Zielverkaufspreis", ColumnKind::Amount, field<&MarketPricing::targetPrice> },
    { "cashDiscount", "Kundenskonto", ColumnKind::Amount, field<&MarketPricing::cashDiscount>, Everywhere, nullptr,
        &SalesScheme::cashDiscountPct },
    { "commission", "Vertreterprovision", ColumnKind::Amount, field<&MarketPricing::commission>, Everywhere, nullptr,
        &SalesScheme::commissionPct },
    { "cashPrice", "Barverkaufspreis", ColumnKind::Amount, field<&MarketPricing::cashPrice> },
    { "allowedCostPrice", "Zulässige Selbstkosten bei Gewinn", ColumnKind::Amount,
        field<&MarketPricing::allowedCostPrice>, Everywhere, nullptr, &SalesScheme::profitPct },
};

constexpr Column<OfferedPrice, OfferedAmount> kOfferedColumns[] = {
    { kQuantityKey, kQuantityTitle, ColumnKind::Count, field<&OfferedPrice::quantity>, InCsv | InJson | InText },
    { "listPrice", "Listenverkaufspreis", ColumnKind::Amount, field<&OfferedPrice::listPrice>, Everywhere, nullptr,
        &OfferedPrice::listPrice },
    { "discount", "Kundenrabatt", ColumnKind::Amount, field<&OfferedPrice::discount>, Everywhere, nullptr,
        &OfferedPrice::discount },
    { "targetPrice", "Zielverkaufspreis", ColumnKind::Amount, field<&OfferedPrice::targetPrice>, Everywhere, nullptr,
        &OfferedPrice::targetPrice },
    { "total", "Gesamtpreis", ColumnKind::Amount, field<&OfferedPrice::total>, Everywhere, nullptr,
        &OfferedPrice::total },
};

// A step's title, with the percentage it applies: "Kundenrabatt 5,00 %".
template <typename Row>
std::string stepLabel(const Column<Row, SchemePercent>& column, const SalesScheme& scheme, text::NumberStyle style)
{
    std::string label = cp(column.title);
    if (column.extra)
        label += " " + (scheme.*column.extra).format(style.decimal) + " %";
    return label;
}

std::string backwardText(const Quote& quote, const MarketPricing& market, text::NumberStyle style)
{
    std::vector<std::vector<std::string>> steps;
    for (const Column<MarketPricing, SchemePercent>& column : kMarketColumns)
        steps.push_back({ stepLabel(column, quote.scheme, style), cellText(column, market, style) });
    return cp("Rückwärtskalkulation vom Marktpreis") + std::string(kCrLf) + alignedTable(steps, true)
        + std::string(kCrLf)
        + alignedTable(transposedLines(
                           marketRowColumns(), market.rows,
                           [](const Column<MarketRow>& column) { return cp(column.title); }, style),
            true);
}

} // namespace

Columns<QuoteRow, SchemePercent> quoteColumns()
{
    return kQuoteColumns;
}

Columns<MarketRow> marketRowColumns()
{
    return kMarketRowColumns;
}

Columns<MarketPricing, SchemePercent> marketColumns()
{
    return kMarketColumns;
}

Columns<OfferedPrice, OfferedAmount> offeredColumns()
{
    return kOfferedColumns;
}

std::string quoteCsv(const Quote& quote, CsvDialect dialect)
{
    CsvWriter csv(dialect);
    csvTitles(csv, quoteColumns());
    if (quote.market)
        csvTitles(csv, marketRowColumns());
    csv.endRecord();
    for (std::size_t i = 0; i < quote.rows.size(); ++i) {
        csvCells(csv, quoteColumns(), quote.rows[i]);
        if (quote.market)
            csvCells(csv, marketRowColumns(), quote.market->rows[i]);
        csv.endRecord();
    }
    return csv.take();
}

std::string quoteText(const Quote& quote, text::NumberStyle style)
{
    std::string out = cp("Angebotskalkulation (EUR), Stückzahlbasis des Auftrags: ")
        + text::formatInt(quote.quantityBase) + std::string(kCrLf) + std::string(kCrLf);
    out += alignedTable(
        transposedLines(
            quoteColumns(), quote.rows,
            [&](const Column<QuoteRow, SchemePercent>& column) { return stepLabel(column, quote.scheme, style); },
            style),
        true);
    if (quote.market)
        out += std::string(kCrLf) + backwardText(quote, *quote.market, style);
    if (quote.uncostedOperations > 0)
        out += std::string(kCrLf) + incompleteLine(quote.uncostedOperations);
    return out;
}

std::string quoteJson(const Quote& quote)
{
    JsonWriter json;
    beginScaledResult(json, "quote", quote.quantityBase, quote.complete());
    json.beginObject("scheme");
    for (const SchemeField& field : kSchemeFields)
        json.hundredths(field.key, field.countIn(quote.scheme));
    json.endObject();
    jsonRows(json, "rows", quoteColumns(), quote.rows);
    if (quote.market) {
        json.beginObject("market");
        jsonFields(json, marketColumns(), *quote.market);
        jsonRows(json, "rows", marketRowColumns(), quote.market->rows);
        json.endObject();
    } else {
        json.hundredths("market", std::nullopt);
    }
    json.endObject();
    return json.take();
}

} // namespace kalkora
