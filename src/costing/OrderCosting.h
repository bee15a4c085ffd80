#pragma once

#include "model/COrder.h"
#include "model/CPlantData.h"
#include "model/Progress.h"
#include "text/PrintDate.h"

#include <string>
#include <string_view>
#include <vector>

namespace kalkora {

// What one calculation run produces: the report text (Windows-1252, CR LF) and the messages
// to show the user (Windows-1252), in the order they arise.
struct CostingResult {
    std::string reportText;
    std::vector<std::string> messages;
    int uncostedOperations = 0; // internal operations without machine or with a bad shift mode
    bool cancelled = false; // `progress` stopped the run: the report is incomplete
};

// Costs the order and writes the costing report in one pass. `orderFileName` is the order
// file's name without folder (empty for an order without a file). Reads its inputs only.
// `progress` counts the operations and may stop the run.
CostingResult costOrder(const COrder& order, const CPlantData& plantData, std::string_view orderFileName,
    const text::PrintDate& printDate, const Progress& progress = {});

// The remark as the report prints it: line breaks removed, cut every 38 characters onto lines
// indented under the first one.
std::string wrapRemark(std::string_view remark);

} // namespace kalkora
