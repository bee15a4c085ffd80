#include "costing/PostCalcTables.h"

#include "costing/TableWriting.h"
#include "text/NumberFormat.h"

namespace kalkora {

namespace {

bool isOperation(const PostCalcLine& line)
{
    return line.operation != nullptr;
}

bool hasChanges(const PostCalcLine& line)
{
    return !line.changed.empty();
}

template <int figure> Cell figureOf(const PostCalcLine& line)
{
    return line.figures[figure];
}

template <int figure> bool hasFigure(const PostCalcLine& line)
{
    return !std::holds_alternative<std::monostate>(line.figures[figure]);
}

constexpr Column<PostCalcLine> figureColumn(const char* key, const char* title, ColumnKind kind,
    Cell (*value)(const PostCalcLine&), bool (*applies)(const PostCalcLine&))
{
    return { key, title, kind, value, Everywhere, applies };
}

constexpr Column<PostCalcLine> kColumns[] = {
    { "index", "Nr.", ColumnKind::Ordinal,
        [](const PostCalcLine& line) { return isOperation(line) ? Cell(std::int64_t(line.operation->index)) : Cell(); },
        Everywhere, isOperation },
    { "name", "Arbeitsgang", ColumnKind::Text,
        [](const PostCalcLine& line) {
            return isOperation(line) ? Cell(StoredText { line.operation->name }) : Cell(line.label);
        } },
    // JSON lists the fields by their keys.
    { "changed", "geändert", ColumnKind::Text,
        [](const PostCalcLine& line) { return hasChanges(line) ? Cell(line.changed.c_str()) : Cell(); },
        InCsv | InText | InWindow, hasChanges },
    figureColumn("planFull", "Soll Vollkosten/St.", ColumnKind::Cost, figureOf<0>, hasFigure<0>),
    figureColumn("actualFull", "Ist Vollkosten/St.", ColumnKind::Cost, figureOf<1>, hasFigure<1>),
    figureColumn("deviationFull", "Abweichung Vollkosten/St.", ColumnKind::Cost, figureOf<2>, hasFigure<2>),
    figureColumn("deviationFullPct", "Abweichung Vollkosten %", ColumnKind::Percent, figureOf<3>, hasFigure<3>),
    figureColumn("planDirect", "Soll Direkte Kosten/St.", ColumnKind::Cost, figureOf<4>, hasFigure<4>),
    figureColumn("actualDirect", "Ist Direkte Kosten/St.", ColumnKind::Cost, figureOf<5>, hasFigure<5>),
    figureColumn("deviationDirect", "Abweichung Direkte Kosten/St.", ColumnKind::Cost, figureOf<6>, hasFigure<6>),
    figureColumn("deviationDirectPct", "Abweichung Direkte Kosten %", ColumnKind::Percent, figureOf<7>, hasFigure<7>),
    { "costed", "berechnet", ColumnKind::Flag,
        [](const PostCalcLine& line) { return isOperation(line) ? Cell(line.costed) : Cell(); }, Everywhere,
        isOperation },
};
static_assert(std::size(kColumns) == PostCalcColumnCount);

// How the JSON orders an operation's members.
constexpr PostCalcColumn kJsonOrder[] = { PostCalcNumberColumn, PostCalcNameColumn, PostCalcCostedColumn,
    PlanFullColumn, PlanDirectColumn, ActualFullColumn, ActualDirectColumn, DeviationFullColumn, DeviationDirectColumn,
    DeviationFullPctColumn, DeviationDirectPctColumn };

template <typename Value> Cell optionalCell(const std::optional<Value>& value)
{
    return value ? Cell(*value) : Cell();
}

// Plan, actual, deviation and its percentage of one figure.
void putFigures(std::array<Cell, 8>& figures, std::size_t first, const PlanActual& value)
{
    figures[first] = value.plan;
    figures[first + 1] = value.actual;
    figures[first + 2] = value.deviation();
    figures[first + 3] = optionalCell(value.deviationPercent());
}

PostCalcLine orderLine(const char* label, const PlanActual& full, const PlanActual& direct, bool withPercent)
{
    PostCalcLine line;
    line.label = label;
    putFigures(line.figures, 0, full);
    putFigures(line.figures, 4, direct);
    if (!withPercent)
        line.figures[3] = line.figures[7] = Cell();
    return line;
}

// An operation without the names of what changed. One that could not be costed has shares 0
// and no percentages.
PostCalcLine operationLine(const PostCalcOperation& operation)
{
    PostCalcLine line;
    line.operation = &operation;
    line.costed = operation.costed;
    putFigures(line.figures, 0, operation.full);
    putFigures(line.figures, 4, operation.direct);
    if (!operation.costed)
        line.figures[3] = line.figures[7] = Cell();
    return line;
}

std::string changedNames(unsigned changed)
{
    std::string names;
    for (std::size_t i = 0; i < kActualFields.size(); ++i) {
        if ((changed & (1u << i)) == 0)
            continue;
        if (!names.empty())
            names += ", ";
        names += kActualFields[i].germanName;
    }
    return names;
}

constexpr const char* kPerPieceTitle = "Auftrag je Stück";
constexpr const char* kCostPriceTitle = "Selbstkosten";
constexpr const char* kProfitTitle = "Gewinn";
constexpr const char* kProfitPctTitle = "Gewinn %";

// A line of the quote block: the plan under the plan's full cost, the actual under the actual's.
PostCalcLine quoteLine(const char* label, Cell plan, Cell actual)
{
    PostCalcLine line;
    line.label = label;
    line.figures[0] = plan;
    line.figures[1] = actual;
    return line;
}

std::string headerText(const PostCalcResult& result)
{
    return cp("Nachkalkulation (EUR je produziertem Stück), produziert: ") + text::formatInt(result.producedQuantity)
        + ", gut: " + text::formatInt(result.goodQuantity) + std::string(kCrLf) + std::string(kCrLf);
}

std::string quoteText(const PostCalcResult& result, text::NumberStyle style)
{
    const QuoteComparison& quote = *result.quote;
    std::vector<std::vector<std::string>> lines { { "", "Soll", "Ist" } };
    const std::string cashPrice = cellText(Cell(quote.cashPrice), style);
    lines.push_back({ cp("Angebotspreis (Barverkaufspreis)"), cashPrice, cashPrice });
    for (const PostCalcLine& line : quoteLines(result))
        lines.push_back({ cp(line.label), cellText(line.figures[0], style), cellText(line.figures[1], style) });
    return cp("Angebot bei ") + text::formatInt(result.producedQuantity) + cp(" Stück, Listenverkaufspreis ")
        + cellText(Cell(quote.listPrice), style) + std::string(kCrLf) + std::string(kCrLf) + alignedTable(lines, true);
}

// The order's figures as the JSON names them.
void orderJson(JsonWriter& json, const PostCalcResult& result)
{
    json.beginObject("order");
    json.number("planFullPerPiece", result.fullPerPiece.plan);
    json.number("planDirectPerPiece", result.directPerPiece.plan);
    json.number("planFullTotal", result.fullTotal.plan);
    json.number("planDirectTotal", result.directTotal.plan);
    json.number("actualFullPerPiece", result.fullPerPiece.actual);
    json.number("actualDirectPerPiece", result.directPerPiece.actual);
    json.number("actualFullTotal", result.fullTotal.actual);
    json.number("actualDirectTotal", result.directTotal.actual);
    json.cell("actualFullPerGoodPiece", optionalCell(result.fullPerGoodPiece));
    json.cell("actualDirectPerGoodPiece", optionalCell(result.directPerGoodPiece));
    json.number("deviationFullPerPiece", result.fullPerPiece.deviation());
    json.number("deviationDirectPerPiece", result.directPerPiece.deviation());
    json.number("deviationFullTotal", result.fullTotal.deviation());
    json.number("deviationDirectTotal", result.directTotal.deviation());
    json.cell("deviationFullPct", optionalCell(result.fullPerPiece.deviationPercent()));
    json.cell("deviationDirectPct", optionalCell(result.directPerPiece.deviationPercent()));
    json.endObject();
}

void quoteJson(JsonWriter& json, const PostCalcResult& result)
{
    if (!result.quote) {
        json.literal("quote", "null");
        return;
    }
    const QuoteComparison& quote = *result.quote;
    json.beginObject("quote");
    json.number("quantity", result.producedQuantity);
    json.cell("listPrice", quote.listPrice);
    json.cell("cashPrice", quote.cashPrice);
    json.cell("plannedCostPrice", optionalCell(quote.plannedCostPrice));
    json.cell("plannedProfit", optionalCell(quote.plannedProfit()));
    json.cell("plannedProfitPct", optionalCell(quote.plannedProfitPercent()));
    json.cell("actualCostPrice", optionalCell(quote.actualCostPrice));
    json.cell("actualProfit", optionalCell(quote.actualProfit()));
    json.cell("actualProfitPct", optionalCell(quote.actualProfitPercent()));
    json.endObject();
}

} // namespace

Columns<PostCalcLine> postCalcColumns()
{
    return kColumns;
}

std::vector<PostCalcLine> postCalcLines(const PostCalcResult& result)
{
    std::vector<PostCalcLine> lines;
    lines.reserve(result.operations.size() + 3);
    for (const PostCalcOperation& operation : result.operations) {
        PostCalcLine& line = lines.emplace_back(operationLine(operation));
        line.changed = changedNames(operation.changed);
    }
    lines.push_back(orderLine(kPerPieceTitle, result.fullPerPiece, result.directPerPiece, true));
    lines.back().costed = result.complete();
    lines.push_back(orderLine("Auftrag gesamt", result.fullTotal, result.directTotal, false));
    PostCalcLine perGoodPiece;
    perGoodPiece.label = "je Gutstück";
    perGoodPiece.figures[1] = optionalCell(result.fullPerGoodPiece);
    perGoodPiece.figures[5] = optionalCell(result.directPerGoodPiece);
    lines.push_back(std::move(perGoodPiece));
    return lines;
}

std::vector<PostCalcLine> quoteLines(const PostCalcResult& result)
{
    if (!result.quote)
        return {};
    const QuoteComparison& quote = *result.quote;
    return { quoteLine(kCostPriceTitle, optionalCell(quote.plannedCostPrice), optionalCell(quote.actualCostPrice)),
        quoteLine(kProfitTitle, optionalCell(quote.plannedProfit()), optionalCell(quote.actualProfit())),
        quoteLine(
            kProfitPctTitle, optionalCell(quote.plannedProfitPercent()), optionalCell(quote.actualProfitPercent())) };
}

std::string postCalcCsv(const PostCalcResult& result, CsvDialect dialect)
{
    std::vector<PostCalcLine> lines = postCalcLines(result);
    for (PostCalcLine& line : quoteLines(result))
        lines.push_back(std::move(line));
    return csvTable(postCalcColumns(), lines, dialect);
}

std::string postCalcText(const PostCalcResult& result, text::NumberStyle style)
{
    const Columns<PostCalcLine> columns = postCalcColumns();
    std::vector<std::vector<std::string>> rows { textTitles(columns) };
    for (const PostCalcLine& line : postCalcLines(result))
        rows.push_back(textCells(columns, line, style));
    std::string out = headerText(result) + alignedTable(rows, textColumnsLeft(columns));
    if (!result.complete())
        out += std::string(kCrLf) + incompleteLine(result.uncostedOperations);
    if (result.quote)
        out += std::string(kCrLf) + quoteText(result, style);
    else if (!result.noQuoteReason.empty())
        out += std::string(kCrLf) + cp(result.noQuoteReason) + std::string(kCrLf);
    return out;
}

std::string postCalcJson(const PostCalcResult& result)
{
    JsonWriter json;
    json.reserve(result.operations.size() * 600);
    json.beginObject();
    json.text("kind", "postcalc");
    json.number("producedQuantity", result.producedQuantity);
    json.number("goodQuantity", result.goodQuantity);
    json.boolean("complete", result.complete());
    json.beginArray("operations");
    const Columns<PostCalcLine> columns = postCalcColumns();
    for (const PostCalcOperation& operation : result.operations) {
        const PostCalcLine line = operationLine(operation);
        json.beginObject();
        for (const PostCalcColumn column : kJsonOrder) {
            json.cell(columns[column].key, columns[column].value(line));
            if (column == PostCalcNameColumn) {
                json.beginArray("changed");
                for (std::size_t i = 0; i < kActualFields.size(); ++i)
                    if ((operation.changed & (1u << i)) != 0)
                        json.utf8Text({}, kActualFields[i].key);
                json.endArray();
            }
        }
        json.endObject();
    }
    json.endArray();
    orderJson(json, result);
    quoteJson(json, result);
    json.endObject();
    return json.take();
}

} // namespace kalkora
