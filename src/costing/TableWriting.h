#pragma once

#include "costing/AnalysisTables.h"
#include "costing/JsonWriter.h"
#include "costing/ResultTable.h"
#include "text/NumberFormat.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kalkora {

// The pieces the tables of the cost analysis and the sales price scheme are written with, so that
// every CSV and every aligned table of the program looks alike.

inline constexpr std::string_view kCrLf = "\r\n";

// RFC 4180 records with CR LF in one of the two dialects.
class CsvWriter {
public:
    explicit CsvWriter(CsvDialect dialect);

    void text(std::string_view utf8);
    void cp1252Text(std::string_view cp1252);
    void integer(std::int64_t value);
    // The shortest form that reads back to the same double; inf, -inf, nan.
    void number(double value);
    // Cents or hundredths of a percent with two decimals in the dialect's separator.
    void hundredths(std::int64_t count);
    // A cell of a result table; empty where there is none.
    void cell(const Cell& value);
    void endRecord();
    std::string take() { return std::move(out); }

private:
    void startField();

    char separator;
    bool decimalComma;
    bool first = true;
    std::string out;
};

// UTF-8 to Windows-1252 for the text tables.
std::string cp(std::string_view utf8);

std::string padLeft(const std::string& s, std::size_t width);
std::string padRight(const std::string& s, std::size_t width);

// Columns two blanks apart, each as wide as its widest entry; right-aligned, except the first
// column when `labelsLeft`.
std::string alignedTable(const std::vector<std::vector<std::string>>& rows, bool labelsLeft = false);
// The same with the columns `leftAligned` marks left-aligned.
std::string alignedTable(const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& leftAligned);

// A cell for reading, in Windows-1252: two decimals in `style`, counts grouped as it says, "—"
// where there is none.
std::string cellText(const Cell& value, text::NumberStyle style);

// A row's cell of `column` for reading; empty where the column does not apply to the row.
template <typename Row, typename Extra>
std::string cellText(const Column<Row, Extra>& column, const Row& row, text::NumberStyle style)
{
    if (!column.appliesTo(row))
        return {};
    if (column.kind == ColumnKind::Ordinal)
        style.group = 0;
    return cellText(column.value(row), style);
}

// The titles and a row's cells of the columns in one output.
template <typename Row, typename Extra> void csvTitles(CsvWriter& csv, Columns<Row, Extra> columns)
{
    for (const auto& column : columns)
        if (column.isIn(InCsv))
            csv.text(column.title);
}

template <typename Row, typename Extra> void csvCells(CsvWriter& csv, Columns<Row, Extra> columns, const Row& row)
{
    for (const auto& column : columns)
        if (column.isIn(InCsv))
            csv.cell(column.value(row));
}

template <typename Row, typename Extra> void jsonFields(JsonWriter& json, Columns<Row, Extra> columns, const Row& row)
{
    for (const auto& column : columns)
        if (column.isIn(InJson))
            json.cell(column.key, column.value(row));
}

// A title line, then one record per row.
template <typename Row, typename Extra>
std::string csvTable(Columns<Row, Extra> columns, const std::vector<Row>& rows, CsvDialect dialect)
{
    CsvWriter csv(dialect);
    csvTitles(csv, columns);
    csv.endRecord();
    for (const Row& row : rows) {
        csvCells(csv, columns, row);
        csv.endRecord();
    }
    return csv.take();
}

// Opens the object of a result on the price scale: its kind, quantity base and completeness.
void beginScaledResult(JsonWriter& json, const char* kind, std::int32_t quantityBase, bool complete);

// An array of one object per row.
template <typename Row, typename Extra>
void jsonRows(JsonWriter& json, std::string_view key, Columns<Row, Extra> columns, const std::vector<Row>& rows)
{
    json.beginArray(key);
    for (const Row& row : rows) {
        json.beginObject();
        jsonFields(json, columns, row);
        json.endObject();
    }
    json.endArray();
}

// The columns in the printed text, with their titles (Windows-1252), and a row's cells in `style`.
template <typename Row, typename Extra> std::vector<std::string> textTitles(Columns<Row, Extra> columns)
{
    std::vector<std::string> titles;
    for (const auto& column : columns)
        if (column.isIn(InText))
            titles.push_back(cp(column.title));
    return titles;
}

template <typename Row, typename Extra>
std::vector<std::string> textCells(Columns<Row, Extra> columns, const Row& row, text::NumberStyle style)
{
    std::vector<std::string> cells;
    for (const auto& column : columns)
        if (column.isIn(InText))
            cells.push_back(cellText(column, row, style));
    return cells;
}

// Which columns of the printed text hold names, which read best left-aligned.
template <typename Row, typename Extra> std::vector<bool> textColumnsLeft(Columns<Row, Extra> columns)
{
    std::vector<bool> left;
    for (const auto& column : columns)
        if (column.isIn(InText))
            left.push_back(column.kind == ColumnKind::Text);
    return left;
}

// The rows under their titles, aligned.
template <typename Row, typename Extra>
std::string textTable(Columns<Row, Extra> columns, const std::vector<Row>& rows, text::NumberStyle style)
{
    std::vector<std::vector<std::string>> lines { textTitles(columns) };
    for (const Row& row : rows)
        lines.push_back(textCells(columns, row, style));
    return alignedTable(lines);
}

// One line per column in the text, the rows side by side: `label(column)`, then each row's
// cell.
template <typename Row, typename Extra, typename Label>
std::vector<std::vector<std::string>> transposedLines(
    Columns<Row, Extra> columns, const std::vector<Row>& rows, const Label& label, text::NumberStyle style)
{
    std::vector<std::vector<std::string>> lines;
    for (const auto& column : columns) {
        if (!column.isIn(InText))
            continue;
        std::vector<std::string>& line = lines.emplace_back(1, label(column));
        for (const Row& row : rows)
            line.push_back(cellText(column, row, style));
    }
    return lines;
}

// The warning under a table whose sums lack operations that could not be costed.
std::string incompleteLine(int uncostedOperations);

} // namespace kalkora
