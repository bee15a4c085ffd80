#include "costing/AnalysisTables.h"

#include "costing/TableWriting.h"
#include "text/Cp1252.h"
#include "text/NumberFormat.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kalkora {

namespace {

// The nine parts in the order of the columns, with their German titles (UTF-8).
struct PartColumn {
    const char* title;
    double CostParts::*part;
};

constexpr std::array<PartColumn, 9> kPartColumns { {
    { "Material", &CostParts::material },
    { "Materialgemeinkosten", &CostParts::materialOverhead },
    { "Maschine fix", &CostParts::machineFixed },
    { "Maschine variabel", &CostParts::machineVariable },
    { "Personal fix", &CostParts::operatorFixed },
    { "Personal variabel", &CostParts::operatorVariable },
    { "davon Rüsten", &CostParts::setup },
    { "Fremdleistung", &CostParts::external },
    { "Fremdleistungszuschlag", &CostParts::externalOverhead },
} };

constexpr const char* kOrderRowTitle = "Auftrag je Stück";

void partsCsv(CsvWriter& csv, const CostParts& parts)
{
    for (const PartColumn& column : kPartColumns)
        csv.number(parts.*column.part);
    csv.number(parts.full);
    csv.number(parts.direct);
}

// A stored name on one line of the table.
std::string oneLine(std::string_view cp1252)
{
    std::string line(cp1252);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    return line;
}

std::string money(double value)
{
    return text::formatFixed(value, 0, 2);
}

// Label and value pairs, two to a line, labels left and values right-aligned.
void pairLines(std::string& out, const std::vector<std::pair<std::string, std::string>>& pairs)
{
    constexpr std::size_t kLabel = 24;
    constexpr std::size_t kValue = 10;
    for (std::size_t i = 0; i < pairs.size(); i += 2) {
        out += "  " + padRight(pairs[i].first, kLabel) + padLeft(pairs[i].second, kValue);
        if (i + 1 < pairs.size() && !pairs[i + 1].first.empty())
            out += "    " + padRight(pairs[i + 1].first, kLabel) + padLeft(pairs[i + 1].second, kValue);
        out += kCrLf;
    }
}

void partsText(std::string& out, const CostParts& parts, bool internal, bool external)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::size_t i = 0; i < kPartColumns.size(); ++i) {
        const bool isExternalPart = i >= 7;
        if ((isExternalPart && external) || (!isExternalPart && internal))
            pairs.emplace_back(cp(kPartColumns[i].title), money(parts.*kPartColumns[i].part));
    }
    if (pairs.size() % 2 != 0)
        pairs.emplace_back();
    pairs.emplace_back("Vollkosten/St.", money(parts.full));
    pairs.emplace_back("Direkte Kosten/St.", money(parts.direct));
    pairLines(out, pairs);
}

} // namespace

std::string priceScaleCsv(const PriceScale& scale, CsvDialect dialect)
{
    CsvWriter csv(dialect);
    for (const char* title : { "Menge", "Vollkosten/St.", "Direkte Kosten/St.", "Rüstanteil/St.", "Vollkosten gesamt",
             "Direkte Kosten gesamt" })
        csv.text(title);
    csv.endRecord();
    for (const PriceScaleRow& row : scale.rows) {
        csv.integer(row.quantity);
        csv.number(row.fullPerPiece);
        csv.number(row.directPerPiece);
        csv.number(row.setupPerPiece);
        csv.number(row.fullTotal);
        csv.number(row.directTotal);
        csv.endRecord();
    }
    return csv.take();
}

std::string breakdownCsv(const CostBreakdown& breakdown, CsvDialect dialect)
{
    CsvWriter csv(dialect);
    for (const char* title : { "Nr.", "Arbeitsgang", "Art", "Maschine", "Losgröße" })
        csv.text(title);
    for (const PartColumn& column : kPartColumns)
        csv.text(column.title);
    for (const char* title : { "Vollkosten/St.", "Direkte Kosten/St.", "berechnet" })
        csv.text(title);
    csv.endRecord();
    for (const OperationBreakdown& op : breakdown.operations) {
        csv.integer(op.index);
        csv.cp1252Text(op.name);
        csv.text(op.isInternal != 0 ? "INTERN" : "EXTERN");
        csv.cp1252Text(op.machineName);
        csv.integer(op.lot);
        partsCsv(csv, op.parts);
        csv.text(op.costed ? "ja" : "nein");
        csv.endRecord();
    }
    csv.text("");
    csv.text(kOrderRowTitle);
    csv.text("");
    csv.text("");
    csv.text("");
    partsCsv(csv, breakdown.order);
    csv.text(breakdown.complete() ? "ja" : "nein"); // the order's figures lack what was not costed
    csv.endRecord();
    return csv.take();
}

std::string priceScaleText(const PriceScale& scale)
{
    std::string out = cp("Staffelpreise (EUR), Stückzahlbasis des Auftrags: ") + text::formatInt(scale.quantityBase)
        + std::string(kCrLf) + std::string(kCrLf);
    std::vector<std::vector<std::string>> rows;
    rows.push_back({ "Menge", "Vollkosten/St.", "Direkte Kosten/St.", cp("Rüstanteil/St."), "Vollkosten gesamt" });
    for (const PriceScaleRow& row : scale.rows) {
        rows.push_back({ text::formatInt(row.quantity), money(row.fullPerPiece), money(row.directPerPiece),
            money(row.setupPerPiece), money(row.fullTotal) });
    }
    out += alignedTable(rows);
    if (!scale.complete())
        out += std::string(kCrLf) + incompleteLine(scale.uncostedOperations);
    return out;
}

std::string breakdownText(const CostBreakdown& breakdown)
{
    std::string out = cp("Kostenaufschlüsselung (EUR je Stück)") + std::string(kCrLf);
    for (const OperationBreakdown& op : breakdown.operations) {
        const bool internal = op.isInternal != 0;
        out += std::string(kCrLf) + text::formatInt(op.index) + ". " + oneLine(op.name)
            + (internal ? " (INTERN)" : " (EXTERN)") + std::string(kCrLf);
        out += "  " + (internal ? "Maschine: " + oneLine(op.machineName) + ", " : std::string()) + cp("Losgröße: ")
            + text::formatInt(op.lot) + std::string(kCrLf);
        if (op.costed)
            partsText(out, op.parts, internal, !internal);
        else
            out += "  nicht berechnet" + std::string(kCrLf);
    }
    out += std::string(kCrLf) + cp(kOrderRowTitle) + std::string(kCrLf);
    partsText(out, breakdown.order, true, true);
    if (!breakdown.complete())
        out += std::string(kCrLf) + incompleteLine(breakdown.uncostedOperations);
    return out;
}

} // namespace kalkora
