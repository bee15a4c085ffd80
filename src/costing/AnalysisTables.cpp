#include "costing/AnalysisTables.h"

#include "costing/TableWriting.h"
#include "text/Cp1252.h"
#include "text/NumberFormat.h"

#include <algorithm>
#include <string_view>

namespace kalkora {

namespace {

constexpr Column<PriceScaleRow> kScaleColumns[] = {
    { kQuantityKey, kQuantityTitle, ColumnKind::Count, field<&PriceScaleRow::quantity> },
    { "fullPerPiece", "Vollkosten/St.", ColumnKind::Cost, field<&PriceScaleRow::fullPerPiece> },
    { "directPerPiece", "Direkte Kosten/St.", ColumnKind::Cost, field<&PriceScaleRow::directPerPiece> },
    { "setupPerPiece", "Rüstanteil/St.", ColumnKind::Cost, field<&PriceScaleRow::setupPerPiece> },
    { "fullTotal", "Vollkosten gesamt", ColumnKind::Cost, field<&PriceScaleRow::fullTotal> },
    // The printed table leaves it out to fit the page.
    { "directTotal", "Direkte Kosten gesamt", ColumnKind::Cost, field<&PriceScaleRow::directTotal>,
        InCsv | InJson | InWindow },
};

bool isOperation(const BreakdownLine& line)
{
    return line.operation != nullptr;
}

bool isInternal(const BreakdownLine& line)
{
    return line.operation->isInternal != 0;
}

// What an operation has of its own; the order row has every part. Parts of the other kind of
// operation, and every part of one that could not be costed, were never computed.
bool ownsInternalPart(const BreakdownLine& line)
{
    return !isOperation(line) || (line.costed && isInternal(line));
}

bool ownsExternalPart(const BreakdownLine& line)
{
    return !isOperation(line) || (line.costed && !isInternal(line));
}

bool ownsSum(const BreakdownLine& line)
{
    return !isOperation(line) || line.costed;
}

template <double CostParts::*part> Cell partOf(const BreakdownLine& line)
{
    return line.parts->*part;
}

template <auto member> Cell ofOperation(const BreakdownLine& line)
{
    return isOperation(line) ? field<member>(*line.operation) : Cell();
}

template <auto member> Cell storedText(const BreakdownLine& line)
{
    return isOperation(line) ? Cell(StoredText { (*line.operation).*member }) : Cell();
}

constexpr const char* kOrderRowTitle = "Auftrag je Stück";

constexpr Column<BreakdownLine> kBreakdownColumns[] = {
    { "index", "Nr.", ColumnKind::Ordinal, ofOperation<&OperationBreakdown::index>, Everywhere, isOperation },
    { "name", "Arbeitsgang", ColumnKind::Text,
        [](const BreakdownLine& line) {
            return isOperation(line) ? Cell(StoredText { line.operation->name }) : Cell(kOrderRowTitle);
        } },
    { "isInternal", "Art", ColumnKind::Text,
        [](const BreakdownLine& line) {
            return isOperation(line)
                ? Cell(Choice { line.operation->isInternal, isInternal(line) ? "INTERN" : "EXTERN" })
                : Cell();
        },
        Everywhere, isOperation },
    { "machineName", "Maschine", ColumnKind::Text, storedText<&OperationBreakdown::machineName>, Everywhere,
        isOperation },
    { "lot", "Losgröße", ColumnKind::Count, ofOperation<&OperationBreakdown::lot>, Everywhere, isOperation },
    { "material", "Material", ColumnKind::Cost, partOf<&CostParts::material>, Everywhere, ownsInternalPart },
    { "materialOverhead", "Materialgemeinkosten", ColumnKind::Cost, partOf<&CostParts::materialOverhead>, Everywhere,
        ownsInternalPart },
    { "machineFixed", "Maschine fix", ColumnKind::Cost, partOf<&CostParts::machineFixed>, Everywhere,
        ownsInternalPart },
    { "machineVariable", "Maschine variabel", ColumnKind::Cost, partOf<&CostParts::machineVariable>, Everywhere,
        ownsInternalPart },
    { "operatorFixed", "Personal fix", ColumnKind::Cost, partOf<&CostParts::operatorFixed>, Everywhere,
        ownsInternalPart },
    { "operatorVariable", "Personal variabel", ColumnKind::Cost, partOf<&CostParts::operatorVariable>, Everywhere,
        ownsInternalPart },
    { "setup", "davon Rüsten", ColumnKind::Cost, partOf<&CostParts::setup>, Everywhere, ownsInternalPart },
    { "external", "Fremdleistung", ColumnKind::Cost, partOf<&CostParts::external>, Everywhere, ownsExternalPart },
    { "externalOverhead", "Fremdleistungszuschlag", ColumnKind::Cost, partOf<&CostParts::externalOverhead>, Everywhere,
        ownsExternalPart },
    { "full", "Vollkosten/St.", ColumnKind::Cost, partOf<&CostParts::full>, Everywhere, ownsSum },
    { "direct", "Direkte Kosten/St.", ColumnKind::Cost, partOf<&CostParts::direct>, Everywhere, ownsSum },
    // The order's figures lack what was not costed.
    { "costed", "berechnet", ColumnKind::Flag, [](const BreakdownLine& line) { return Cell(line.costed); }, Everywhere,
        isOperation },
};
static_assert(std::size(kBreakdownColumns) == BreakdownColumnCount);

const Columns<BreakdownLine> kBreakdown(kBreakdownColumns);
// How the JSON arranges them: an operation's identity and whether it was costed, then its parts;
// the order has only the parts.
const Columns<BreakdownLine> kIdentity = kBreakdown.first(MaterialColumn);
const Columns<BreakdownLine> kCosted = kBreakdown.subspan(CostedColumn, 1);
const Columns<BreakdownLine> kParts = kBreakdown.subspan(MaterialColumn, CostedColumn - MaterialColumn);
const Columns<BreakdownLine> kNineParts = kBreakdown.subspan(MaterialColumn, FullColumn - MaterialColumn);
const Columns<BreakdownLine> kSums = kBreakdown.subspan(FullColumn, CostedColumn - FullColumn);

// A stored name on one line of the table.
std::string oneLine(std::string_view cp1252)
{
    std::string line(cp1252);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    return line;
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

// The parts the line has, two to a line, then the two sums on a line of their own.
void partsText(std::string& out, const BreakdownLine& line, text::NumberStyle style)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    const auto add = [&](const Column<BreakdownLine>& column) {
        if (column.appliesTo(line))
            pairs.emplace_back(cp(column.title), cellText(column, line, style));
    };
    for (const Column<BreakdownLine>& column : kNineParts)
        add(column);
    if (pairs.size() % 2 != 0)
        pairs.emplace_back();
    for (const Column<BreakdownLine>& column : kSums)
        add(column);
    pairLines(out, pairs);
}

std::string textHeader(const char* utf8)
{
    return cp(utf8) + std::string(kCrLf);
}

} // namespace

Columns<PriceScaleRow> priceScaleColumns()
{
    return kScaleColumns;
}

std::vector<BreakdownLine> breakdownLines(const CostBreakdown& breakdown)
{
    std::vector<BreakdownLine> lines;
    lines.reserve(breakdown.operations.size() + 1);
    for (const OperationBreakdown& op : breakdown.operations)
        lines.push_back({ &op, &op.parts, op.costed });
    lines.push_back({ nullptr, &breakdown.order, breakdown.complete() });
    return lines;
}

Columns<BreakdownLine> breakdownColumns()
{
    return kBreakdown;
}

std::string priceScaleCsv(const PriceScale& scale, CsvDialect dialect)
{
    return csvTable(priceScaleColumns(), scale.rows, dialect);
}

std::string breakdownCsv(const CostBreakdown& breakdown, CsvDialect dialect)
{
    return csvTable(kBreakdown, breakdownLines(breakdown), dialect);
}

std::string priceScaleText(const PriceScale& scale, text::NumberStyle style)
{
    std::string out = cp("Staffelpreise (EUR), Stückzahlbasis des Auftrags: ") + text::formatInt(scale.quantityBase)
        + std::string(kCrLf) + std::string(kCrLf);
    out += textTable(priceScaleColumns(), scale.rows, style);
    if (!scale.complete())
        out += std::string(kCrLf) + incompleteLine(scale.uncostedOperations);
    return out;
}

std::string breakdownText(const CostBreakdown& breakdown, text::NumberStyle style)
{
    std::string out = textHeader("Kostenaufschlüsselung (EUR je Stück)");
    for (const BreakdownLine& line : breakdownLines(breakdown)) {
        out += kCrLf;
        if (!isOperation(line)) {
            out += textHeader(kOrderRowTitle);
            partsText(out, line, style);
            break;
        }
        const OperationBreakdown& op = *line.operation;
        const bool internal = isInternal(line);
        out += text::formatInt(op.index) + ". " + oneLine(op.name) + (internal ? " (INTERN)" : " (EXTERN)")
            + std::string(kCrLf);
        out += "  " + (internal ? "Maschine: " + oneLine(op.machineName) + ", " : std::string()) + cp("Losgröße: ")
            + text::formatInt(op.lot) + std::string(kCrLf);
        if (op.costed)
            partsText(out, line, style);
        else
            out += "  nicht berechnet" + std::string(kCrLf);
    }
    if (!breakdown.complete())
        out += std::string(kCrLf) + incompleteLine(breakdown.uncostedOperations);
    return out;
}

std::string priceScaleJson(const PriceScale& scale)
{
    JsonWriter json;
    beginScaledResult(json, "scale", scale.quantityBase, scale.complete());
    jsonRows(json, "rows", priceScaleColumns(), scale.rows);
    json.endObject();
    return json.take();
}

std::string breakdownJson(const CostBreakdown& breakdown)
{
    JsonWriter json;
    json.beginObject();
    json.text("kind", "breakdown");
    json.boolean("complete", breakdown.complete());
    json.beginArray("operations");
    std::vector<BreakdownLine> lines = breakdownLines(breakdown);
    const BreakdownLine order = lines.back();
    lines.pop_back();
    for (const BreakdownLine& line : lines) {
        json.beginObject();
        for (const Columns<BreakdownLine> group : { kIdentity, kCosted, kParts })
            jsonFields(json, group, line);
        json.endObject();
    }
    json.endArray();
    json.beginObject("order");
    jsonFields(json, kParts, order);
    json.endObject();
    json.endObject();
    return json.take();
}

} // namespace kalkora
