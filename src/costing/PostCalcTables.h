#pragma once

#include "costing/AnalysisTables.h"
#include "costing/PostCalc.h"
#include "costing/ResultTable.h"
#include "text/NumberFormat.h"

#include <array>
#include <string>
#include <vector>

namespace kalkora {

// The post-calculation as tables, shared by kalkora-cli and the desktop program.

// A line of the comparison: an operation, or (no operation) a line of the order or the quote.
struct PostCalcLine {
    const PostCalcOperation* operation = nullptr;
    const char* label = nullptr; // UTF-8, of a line that is no operation
    std::string changed; // UTF-8: the German names of the fields the actual gives
    // Plan, actual, deviation and deviation in percent of the full costs, then of the direct
    // costs; none where the line has nothing for it.
    std::array<Cell, 8> figures;
    bool costed = true;
};

enum PostCalcColumn {
    PostCalcNumberColumn,
    PostCalcNameColumn,
    PostCalcChangedColumn,
    PlanFullColumn,
    ActualFullColumn,
    DeviationFullColumn,
    DeviationFullPctColumn,
    PlanDirectColumn,
    ActualDirectColumn,
    DeviationDirectColumn,
    DeviationDirectPctColumn,
    PostCalcCostedColumn,
    PostCalcColumnCount
};
Columns<PostCalcLine> postCalcColumns();

// The operations' lines, then the order per piece, its totals and its actual per good piece.
std::vector<PostCalcLine> postCalcLines(const PostCalcResult& result);
// The cost price, profit and profit percentage of plan and actual against the quote; none
// without a quote.
std::vector<PostCalcLine> quoteLines(const PostCalcResult& result);

// The formats of kalkora-cli, as the other tables write them (see AnalysisTables.h).
std::string postCalcCsv(const PostCalcResult& result, CsvDialect dialect);
std::string postCalcText(const PostCalcResult& result, text::NumberStyle style);
std::string postCalcJson(const PostCalcResult& result);

} // namespace kalkora
