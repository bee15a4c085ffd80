#pragma once

#include "costing/AnalysisTables.h"

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

// The warning under a table whose sums lack operations that could not be costed.
std::string incompleteLine(int uncostedOperations);

} // namespace kalkora
