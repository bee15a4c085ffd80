#include "costing/TableWriting.h"

#include "costing/Money.h"
#include "text/Cp1252.h"
#include "text/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <variant>

namespace kalkora {

CsvWriter::CsvWriter(CsvDialect dialect)
    : separator(dialect == CsvDialect::German ? ';' : ',')
    , decimalComma(dialect == CsvDialect::German)
{
    if (dialect == CsvDialect::German)
        out = "\xEF\xBB\xBF"; // so that spreadsheet programs read UTF-8
}

void CsvWriter::text(std::string_view utf8)
{
    startField();
    if (utf8.find_first_of(std::string { separator, '"', '\r', '\n' }) == std::string_view::npos) {
        out += utf8;
        return;
    }
    out += '"';
    for (const char c : utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void CsvWriter::cp1252Text(std::string_view cp1252)
{
    text(text::cp1252ToUtf8(cp1252));
}

void CsvWriter::integer(std::int64_t value)
{
    text(std::to_string(value));
}

void CsvWriter::number(double value)
{
    startField();
    if (std::isnan(value)) {
        out += "nan";
        return;
    }
    if (std::isinf(value)) {
        out += value > 0 ? "inf" : "-inf";
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    for (const char* p = buffer; p != result.ptr; ++p)
        out += *p == '.' && decimalComma ? ',' : *p;
}

void CsvWriter::hundredths(std::int64_t count)
{
    text(formatHundredths(count, decimalComma ? ',' : '.'));
}

void CsvWriter::cell(const Cell& value)
{
    std::visit(
        [this](const auto& v) {
            using Value = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<Value, std::monostate>)
                text("");
            else if constexpr (std::is_same_v<Value, std::int64_t>)
                integer(v);
            else if constexpr (std::is_same_v<Value, double>)
                number(v);
            else if constexpr (std::is_same_v<Value, Money> || std::is_same_v<Value, Percent>)
                hundredths(v.count());
            else if constexpr (std::is_same_v<Value, StoredText>)
                cp1252Text(v.cp1252);
            else if constexpr (std::is_same_v<Value, const char*>)
                text(v);
            else if constexpr (std::is_same_v<Value, bool>)
                text(v ? "ja" : "nein");
            else
                text(v.word);
        },
        value);
}

void CsvWriter::endRecord()
{
    out += kCrLf;
    first = true;
}

void CsvWriter::startField()
{
    if (!first)
        out += separator;
    first = false;
}

void JsonWriter::cell(std::string_view key, const Cell& value)
{
    std::visit(
        [this, key](const auto& v) {
            using Value = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<Value, std::monostate>)
                hundredths(key, std::nullopt);
            else if constexpr (std::is_same_v<Value, std::int64_t>)
                number(key, v);
            else if constexpr (std::is_same_v<Value, double>)
                number(key, v);
            else if constexpr (std::is_same_v<Value, Money> || std::is_same_v<Value, Percent>)
                hundredths(key, v.count());
            else if constexpr (std::is_same_v<Value, StoredText>)
                text(key, v.cp1252);
            else if constexpr (std::is_same_v<Value, const char*>)
                utf8Text(key, v);
            else if constexpr (std::is_same_v<Value, bool>)
                boolean(key, v);
            else
                number(key, v.stored);
        },
        value);
}

void beginScaledResult(JsonWriter& json, const char* kind, std::int32_t quantityBase, bool complete)
{
    json.beginObject();
    json.text("kind", kind);
    json.number("quantityBase", quantityBase);
    json.boolean("complete", complete);
}

std::string cellText(const Cell& value, text::NumberStyle style)
{
    return std::visit(
        [style](const auto& v) -> std::string {
            using Value = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<Value, std::monostate>)
                return "\x97"; // an em dash in Windows-1252
            else if constexpr (std::is_same_v<Value, std::int64_t>)
                return text::groupThousands(std::to_string(v), style);
            else if constexpr (std::is_same_v<Value, double>)
                return text::formatTwoDecimals(v, style);
            else if constexpr (std::is_same_v<Value, Money> || std::is_same_v<Value, Percent>)
                return v.format(style.decimal, style.group);
            else if constexpr (std::is_same_v<Value, StoredText>)
                return std::string(v.cp1252);
            else if constexpr (std::is_same_v<Value, const char*>)
                return cp(v);
            else if constexpr (std::is_same_v<Value, bool>)
                return v ? "ja" : "nein";
            else
                return cp(v.word);
        },
        value);
}

std::string cp(std::string_view utf8)
{
    return text::utf8ToCp1252(utf8);
}

std::string padLeft(const std::string& s, std::size_t width)
{
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

std::string padRight(const std::string& s, std::size_t width)
{
    return s.size() >= width ? s : s + std::string(width - s.size(), ' ');
}

std::string alignedTable(const std::vector<std::vector<std::string>>& rows, bool labelsLeft)
{
    return alignedTable(rows, std::vector<bool> { labelsLeft });
}

std::string alignedTable(const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& leftAligned)
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    }
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            const bool left = c < leftAligned.size() && leftAligned[c];
            out += (c > 0 ? "  " : "") + (left ? padRight(row[c], widths[c]) : padLeft(row[c], widths[c]));
        }
        out += kCrLf;
    }
    return out;
}

std::string incompleteLine(int uncostedOperations)
{
    return cp("ACHTUNG: Summen unvollständig, nicht berechnete Arbeitsgänge: ") + text::formatInt(uncostedOperations)
        + std::string(kCrLf);
}

} // namespace kalkora
