#include "costing/AssemblyTables.h"

#include "costing/TableWriting.h"

#include <array>

namespace kalkora {

namespace {

bool isSum(const AssemblyRecord& record)
{
    return record.line == nullptr;
}

bool isLine(const AssemblyRecord& record)
{
    return record.line != nullptr;
}

const char* kindKey(LineKind kind)
{
    constexpr std::array<const char*, 4> keys { "order", "assembly", "bought", "own" };
    return keys[std::size_t(kind)];
}

Cell nameOf(const AssemblyRecord& record)
{
    if (isSum(record))
        return record.costing->name.c_str();
    const StructureLine& line = *record.line;
    switch (line.kind) {
    case LineKind::Order:
    case LineKind::Own:
        return StoredText { line.order->order.name };
    case LineKind::Assembly:
        return line.assembly->assembly.name.c_str();
    case LineKind::Bought:
        break;
    }
    return line.component->name.c_str();
}

// A line's amount, or the sum's per piece or in total; none in a row that is not priced.
template <Money LineCost::*lineAmount, Money AssemblyRow::*sumAmount> Cell amount(const AssemblyRecord& record)
{
    if (!record.row->priced)
        return {};
    return isSum(record) ? record.row->*sumAmount : record.cost->*lineAmount;
}

template <auto member> Cell ofLine(const AssemblyRecord& record)
{
    return isLine(record) ? field<member>(*record.line) : Cell();
}

constexpr Column<AssemblyRecord> kColumns[] = {
    { nullptr, "Menge Baugruppe", ColumnKind::Count,
        [](const AssemblyRecord& record) { return Cell(std::int64_t(record.row->quantity)); }, InCsv },
    { "position", "Position", ColumnKind::Text,
        [](const AssemblyRecord& record) { return isLine(record) ? Cell(record.line->position.c_str()) : Cell(); },
        Everywhere, isLine },
    { "level", "Ebene", ColumnKind::Count, ofLine<&StructureLine::level>, InCsv | InJson, isLine },
    { "kind", nullptr, ColumnKind::Text, [](const AssemblyRecord& record) { return Cell(kindKey(record.line->kind)); },
        InJson },
    { nullptr, "Art", ColumnKind::Text,
        [](const AssemblyRecord& record) { return Cell(isSum(record) ? "Summe" : kindTitle(record.line->kind)); },
        InCsv | InText | InWindow },
    { "name", "Bezeichnung", ColumnKind::Text, nameOf },
    { "file", "Datei", ColumnKind::Text,
        [](const AssemblyRecord& record) {
            if (isSum(record))
                return Cell();
            return Cell(record.line->file ? record.line->file->c_str() : "");
        },
        Everywhere, isLine },
    { "count", "Anzahl", ColumnKind::Count, ofLine<&StructureLine::count>, Everywhere, isLine },
    { kQuantityKey, kQuantityTitle, ColumnKind::Count,
        [](const AssemblyRecord& record) {
            return Cell(isSum(record) ? std::int64_t(record.row->quantity) : record.cost->quantity);
        } },
    { "unitFull", "Vollkosten/St.", ColumnKind::Amount, amount<&LineCost::unitFull, &AssemblyRow::fullPerPiece> },
    { "unitDirect", "Direkte Kosten/St.", ColumnKind::Amount,
        amount<&LineCost::unitDirect, &AssemblyRow::directPerPiece> },
    { "full", "Vollkosten", ColumnKind::Amount, amount<&LineCost::full, &AssemblyRow::fullTotal> },
    { "direct", "Direkte Kosten", ColumnKind::Amount, amount<&LineCost::direct, &AssemblyRow::directTotal> },
    { "costed", "berechnet", ColumnKind::Flag,
        [](const AssemblyRecord& record) { return Cell(isSum(record) ? record.row->costed : record.cost->costed); } },
};
static_assert(std::size(kColumns) == AssemblyColumnCount);

const Columns<AssemblyRecord> kAssembly(kColumns);

// The quantity's own figures in the JSON, keyed as on the price scale.
constexpr Column<AssemblyRow> kRowColumns[] = {
    { kQuantityKey, nullptr, ColumnKind::Count, field<&AssemblyRow::quantity> },
    { "priced", nullptr, ColumnKind::Flag, field<&AssemblyRow::priced> },
    { "fullPerPiece", nullptr, ColumnKind::Amount,
        [](const AssemblyRow& row) { return row.priced ? Cell(row.fullPerPiece) : Cell(); } },
    { "directPerPiece", nullptr, ColumnKind::Amount,
        [](const AssemblyRow& row) { return row.priced ? Cell(row.directPerPiece) : Cell(); } },
    { "fullTotal", nullptr, ColumnKind::Amount,
        [](const AssemblyRow& row) { return row.priced ? Cell(row.fullTotal) : Cell(); } },
    { "directTotal", nullptr, ColumnKind::Amount,
        [](const AssemblyRow& row) { return row.priced ? Cell(row.directTotal) : Cell(); } },
};

// Some of the columns, in the order `picks` names them.
void jsonPicked(JsonWriter& json, std::initializer_list<AssemblyColumn> picks, const AssemblyRecord& record)
{
    for (const AssemblyColumn pick : picks)
        json.cell(kColumns[pick].key, kColumns[pick].value(record));
}

} // namespace

std::vector<AssemblyRecord> assemblyRecords(const AssemblyCosting& costing, const AssemblyRow& row)
{
    std::vector<AssemblyRecord> records;
    records.reserve(row.lines.size() + 1);
    for (std::size_t i = 0; i < row.lines.size(); ++i)
        records.push_back({ &costing, &row, &costing.structure[i], &row.lines[i] });
    records.push_back({ &costing, &row, nullptr, nullptr });
    return records;
}

Columns<AssemblyRecord> assemblyColumns()
{
    return kAssembly;
}

const char* kindTitle(LineKind kind)
{
    constexpr std::array<const char*, 4> titles { "Auftrag", "Baugruppe", "Kaufteil", "Eigene Arbeitsgänge" };
    return titles[std::size_t(kind)];
}

const char* kindTitle(ComponentKind kind)
{
    switch (kind) {
    case ComponentKind::Order:
        return kindTitle(LineKind::Order);
    case ComponentKind::Assembly:
        return kindTitle(LineKind::Assembly);
    case ComponentKind::Bought:
        break;
    }
    return kindTitle(LineKind::Bought);
}

std::string assemblyCsv(const AssemblyCosting& costing, CsvDialect dialect)
{
    CsvWriter csv(dialect);
    csvTitles(csv, kAssembly);
    csv.endRecord();
    for (const AssemblyRow& row : costing.rows) {
        for (const AssemblyRecord& record : assemblyRecords(costing, row)) {
            csvCells(csv, kAssembly, record);
            csv.endRecord();
        }
    }
    return csv.take();
}

std::string assemblyText(const AssemblyCosting& costing, text::NumberStyle style)
{
    std::string out = cp("Baugruppe „") + cp(costing.name) + cp("“ (EUR), Stückzahlbasis: ")
        + text::formatInt(costing.quantityBase) + std::string(kCrLf);
    for (const AssemblyRow& row : costing.rows) {
        out += std::string(kCrLf) + cp("Menge Baugruppe: ") + text::groupThousands(std::to_string(row.quantity), style)
            + std::string(kCrLf) + std::string(kCrLf);
        std::vector<std::vector<std::string>> lines { textTitles(kAssembly) };
        for (const AssemblyRecord& record : assemblyRecords(costing, row)) {
            std::vector<std::string>& cells = lines.emplace_back(textCells(kAssembly, record, style));
            if (isLine(record))
                cells.front().insert(0, std::size_t(2 * (record.line->level - 1)), ' ');
        }
        out += alignedTable(lines, textColumnsLeft(kAssembly));
    }
    if (costing.uncostedOperations > 0)
        out += std::string(kCrLf) + incompleteLine(costing.uncostedOperations);
    return out;
}

std::string assemblyJson(const AssemblyCosting& costing)
{
    JsonWriter json;
    constexpr std::size_t kBytesPerLine = 240; // a line's object, indented, with its seven members
    json.reserve(kBytesPerLine * costing.structure.size() * (costing.rows.size() + 1));
    json.beginObject();
    json.text("kind", "assembly");
    json.utf8Text("name", costing.name);
    json.number("quantityBase", costing.quantityBase);
    json.boolean("complete", costing.complete());
    json.beginArray("structure");
    const AssemblyRow none;
    for (const StructureLine& line : costing.structure) {
        json.beginObject();
        jsonPicked(json, { PositionColumn, LevelColumn, LineKindKeyColumn, LineNameColumn, FileColumn, CountColumn },
            { &costing, &none, &line, nullptr });
        json.endObject();
    }
    json.endArray();
    json.beginArray("rows");
    for (const AssemblyRow& row : costing.rows) {
        json.beginObject();
        jsonFields(json, Columns<AssemblyRow>(kRowColumns), row);
        json.beginArray("lines");
        for (std::size_t i = 0; i < row.lines.size(); ++i) {
            json.beginObject();
            jsonPicked(json,
                { PositionColumn, NeededColumn, LineCostedColumn, UnitFullColumn, UnitDirectColumn, LineFullColumn,
                    LineDirectColumn },
                { &costing, &row, &costing.structure[i], &row.lines[i] });
            json.endObject();
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
    json.endObject();
    return json.take();
}

} // namespace kalkora
