#include "Golden.h"
#include "costing/QuoteTables.h"
#include "costing/TableWriting.h"

#include <cmath>
#include <set>

namespace kalkora {
namespace {

const char* kindName(ColumnKind kind)
{
    constexpr const char* names[] = { "count", "ordinal", "cost", "amount", "percent", "text", "flag" };
    return names[int(kind)];
}

// Each table's columns with key, title, kind and outputs; within a table no key and no title
// twice, and every column has one of them.
template <typename Row, typename Extra> std::string described(const char* table, Columns<Row, Extra> columns)
{
    std::set<std::string> keys;
    std::set<std::string> titles;
    std::string out = std::string(table) + "\n";
    for (const auto& column : columns) {
        EXPECT_TRUE(column.key || column.title) << table;
        EXPECT_TRUE(!column.key || keys.insert(column.key).second) << table << " " << column.key;
        EXPECT_TRUE(!column.title || titles.insert(column.title).second) << table << " " << column.title;
        out += std::string("  ") + (column.key ? column.key : "-") + " | " + (column.title ? column.title : "-") + " | "
            + kindName(column.kind) + " |" + (column.isIn(InCsv) ? " csv" : "") + (column.isIn(InJson) ? " json" : "")
            + (column.isIn(InText) ? " text" : "") + (column.isIn(InWindow) ? " window" : "") + "\n";
    }
    return out;
}

TEST(ResultTable, EachResultIsDescribedOnce)
{
    kalkora::testing::expectGolden("core/golden/column-tables.txt",
        described("price scale", priceScaleColumns()) + described("breakdown", breakdownColumns())
            + described("quote", quoteColumns()) + described("market rows", marketRowColumns())
            + described("market", marketColumns()) + described("offered", offeredColumns()));
}

// One row with a cell of every sort, written by every writer.
struct Sample {
    Cell value;
};

TEST(ResultTable, EveryWriterWritesEverySortOfCell)
{
    const Column<Sample> columns[] = {
        { "value", "Wert; \"1\"", ColumnKind::Text, [](const Sample& s) { return s.value; } },
        { "number", "Nr.", ColumnKind::Ordinal, [](const Sample& s) { return s.value; }, InWindow },
    };
    const std::vector<Sample> rows
        = { { Cell() }, { std::int64_t(-1234567) }, { 1234.5 }, { std::nan("") }, { Money(-123456) }, { Percent(5) },
              { StoredText { "Fr\xE4sen;\"a\"" } }, { "Auftrag je Stück" }, { true }, { Choice { 1, "INTERN" } } };
    std::string out = csvTable(Columns<Sample>(columns), rows, CsvDialect::German)
        + csvTable(Columns<Sample>(columns), rows, CsvDialect::Standard);
    JsonWriter json;
    json.beginObject();
    jsonRows(json, "rows", Columns<Sample>(columns), rows);
    json.endObject();
    out += json.take() + textTable(Columns<Sample>(columns), rows, text::NumberStyle::printed(true));
    for (const Sample& row : rows)
        for (const Column<Sample>& column : columns)
            out += cellText(column, row, text::NumberStyle::german()) + "|";
    kalkora::testing::expectGolden("core/golden/cells.txt", out);
}

} // namespace
} // namespace kalkora
