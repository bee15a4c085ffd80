#pragma once

#include "costing/Money.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>
#include <variant>

namespace kalkora {

// A result is described once, as a table of columns: each with its JSON key, its German title,
// the kind of figure it holds and how it is read from a row. The CSV, JSON and text writers and
// the windows' table model render any such table, so a title or a key is written in one place.

// What a column holds. The value, not the kind, decides how a cell is written; the kind says
// what the column means and where a window aligns it (text left, figures right).
enum class ColumnKind {
    Count, // a whole number
    Ordinal, // a number that names a row, never grouped
    Cost, // a cost in euro as double: full precision in CSV and JSON, two decimals for reading
    Amount, // whole cents
    Percent, // hundredths of a percent
    Text, // a name: stored (Windows-1252) or the program's own (UTF-8)
    Flag, // yes or no: "ja"/"nein" for reading, true/false in JSON
};

// The outputs a column appears in; a window may show what the printed text leaves out.
enum Output : unsigned {
    InCsv = 1,
    InJson = 2,
    InText = 4,
    InWindow = 8,
    Everywhere = InCsv | InJson | InText | InWindow,
};

// A text as a file stores it, in Windows-1252.
struct StoredText {
    std::string_view cp1252;
};

// A stored number that readers see as a word: `isInternal` 1 is "INTERN".
struct Choice {
    std::int64_t stored;
    const char* word; // UTF-8
};

// One cell: none (std::monostate: empty in CSV, null in JSON, a dash for reading), a count, a
// cost, an amount, a percentage, a stored text, a word of the program (UTF-8), a flag, a choice.
using Cell = std::variant<std::monostate, std::int64_t, double, Money, Percent, StoredText, const char*, bool, Choice>;

template <typename Row, typename Extra = std::monostate> struct Column {
    const char* key; // JSON key; nullptr where JSON has none
    const char* title; // German, UTF-8; nullptr where only JSON has the column
    ColumnKind kind;
    Cell (*value)(const Row&);
    unsigned outputs = Everywhere;
    // Whether the column means anything for the row; a window leaves a cell empty and the text a
    // line out where it does not. CSV and JSON write the value all the same.
    bool (*applies)(const Row&) = nullptr;
    Extra extra {};

    bool isIn(Output output) const { return (outputs & output) != 0; }
    bool appliesTo(const Row& row) const { return applies == nullptr || applies(row); }
};

template <typename Row, typename Extra = std::monostate> using Columns = std::span<const Column<Row, Extra>>;

template <typename> struct MemberOf;
template <typename Row, typename Value> struct MemberOf<Value Row::*> {
    using Class = Row;
};

// A row's member as a cell, for the columns that show one field as it is.
template <auto member> Cell field(const typename MemberOf<decltype(member)>::Class& row)
{
    using Value = std::remove_cvref_t<decltype(row.*member)>;
    if constexpr (std::is_integral_v<Value> && !std::is_same_v<Value, bool>)
        return std::int64_t(row.*member);
    else
        return row.*member;
}

} // namespace kalkora
