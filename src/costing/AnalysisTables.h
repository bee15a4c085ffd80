#pragma once

#include "costing/CostAnalysis.h"
#include "costing/ResultTable.h"
#include "text/NumberFormat.h"

#include <string>

namespace kalkora {

// The price scale and the cost breakdown as tables, shared by kalkora-cli and the desktop
// program's export and print commands, so both write the same bytes.

enum class CsvDialect {
    German, // separator ';', decimal comma, UTF-8 with byte-order mark
    Standard // separator ',', decimal point, no mark
};

// The quantity that every table on the price scale is given per.
inline constexpr const char* kQuantityKey = "quantity";
inline constexpr const char* kQuantityTitle = "Menge";

// One row per quantity: the price scale.
enum PriceScaleColumn { QuantityColumn, FullPerPieceColumn, DirectPerPieceColumn, SetupPerPieceColumn };
Columns<PriceScaleRow> priceScaleColumns();

// A line of the breakdown: an operation, or (no operation) the order per piece.
struct BreakdownLine {
    const OperationBreakdown* operation = nullptr;
    const CostParts* parts = nullptr;
    bool costed = true;
};

// The operations' lines, then the order's.
std::vector<BreakdownLine> breakdownLines(const CostBreakdown& breakdown);

// The breakdown's columns in the order of the CSV and the window.
enum BreakdownColumn {
    NumberColumn,
    NameColumn,
    KindColumn,
    MachineColumn,
    LotColumn,
    MaterialColumn,
    MaterialOverheadColumn,
    MachineFixedColumn,
    MachineVariableColumn,
    OperatorFixedColumn,
    OperatorVariableColumn,
    SetupColumn,
    ExternalColumn,
    ExternalOverheadColumn,
    FullColumn,
    DirectColumn,
    CostedColumn,
    BreakdownColumnCount
};
Columns<BreakdownLine> breakdownColumns();

// RFC 4180 with CR LF, German column titles, numbers in the shortest form that reads back to
// the same double, non-finite as inf, -inf, nan. UTF-8.
std::string priceScaleCsv(const PriceScale& scale, CsvDialect dialect);
std::string breakdownCsv(const CostBreakdown& breakdown, CsvDialect dialect);

// Aligned tables for a fixed-pitch font, two decimals in `style`, Windows-1252 with CR LF line
// breaks like the costing report (so the same printing and output code serves).
std::string priceScaleText(const PriceScale& scale, text::NumberStyle style);
std::string breakdownText(const CostBreakdown& breakdown, text::NumberStyle style);

// Indented JSON with the keys in the order of the columns; costs in the shortest form that reads
// back to the same double, non-finite as the strings "inf", "-inf", "nan".
std::string priceScaleJson(const PriceScale& scale);
std::string breakdownJson(const CostBreakdown& breakdown);

} // namespace kalkora
