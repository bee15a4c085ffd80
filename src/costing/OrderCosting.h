#pragma once

// costing: machine hourly rates, the order costing with its report text, and the cost analysis
// (price scale, breakdown) with its tables. Plain C++ on src/model and src/text only; no Qt.

#include "costing/ReportWriter.h"
#include "model/COrder.h"
#include "model/CPlantData.h"
#include "model/Progress.h"
#include "text/PrintDate.h"

#include <cstdint>
#include <span>
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

// Every figure the costing works out for one costed internal operation, as floats.
struct InternalOperationCosting {
    float setupSharePerPiece = 0;
    float machineMinutesPerPiece = 0;
    float operatorMinutesPerPiece = 0;
    float machineFixedRateEff = 0;
    float machineVarRateEff = 0;
    InternalOperationFigures figures; // material, rates and results per piece
};

// Follows one costing run operation by operation. The report is one observer, the cost
// analysis another: the figures are computed in one place, whoever uses them.
class CostingObserver {
public:
    virtual ~CostingObserver() = default;
    // An internal operation, before its machine is looked up.
    virtual void internalOperationStarts(const COperation&) { }
    // `lot` is the lot size the costing used.
    virtual void internalOperationCosted(
        std::int32_t, const COperation&, std::int32_t /*lot*/, const InternalOperationCosting&)
    {
    }
    // `reportLine` (Windows-1252) says why the operation was left out.
    virtual void operationNotCosted(std::int32_t, const COperation&, std::string_view /*reportLine*/) { }
    // `surcharge` is overheadExternalPct / 100 + 1; `lot` the external lot size as float.
    virtual void externalOperationCosted(std::int32_t, const COperation&, double /*surcharge*/, float /*lot*/) { }
    virtual void operationEnds() { }
};

// What a costing run adds up: the two order accumulators and the messages for the user.
struct CostingTotals {
    double full = 0;
    double direct = 0;
    std::vector<std::string> messages; // Windows-1252, one per operation that was not costed
    int uncostedOperations = 0;
};

// One costing run over an order, operation by operation in list order, telling `observer`
// about each. The operations can be costed in several steps, so that several runs over one
// large order can go through it together while its records are in the cache.
class CostingRun {
public:
    CostingRun(const COrder& order, const CPlantData& plantData, CostingObserver& observer);

    // Costs the operations first to last - 1, after those costed before. `lots`, when not empty,
    // holds for each of them the lot size that replaces the one the costing reads (lotSize of an
    // internal, externalLotSize of an external operation): the costing of a copy of the order with
    // those lot sizes, without copying it.
    void cost(std::int32_t first, std::int32_t last, std::span<const std::int32_t> lots = {});

    CostingTotals take() { return std::move(totals); }

private:
    void costInternalOperation(std::int32_t index, const COperation& op, std::int32_t lotSize);
    void costExternalOperation(std::int32_t index, const COperation& op, std::int32_t lotSize);
    void skip(std::int32_t index, const COperation& op, const std::string& message, const std::string& reportLine);

    const COrder& order;
    const CPlantData& plant;
    CostingObserver& observer;
    CostingTotals totals;
};

// Costs the whole order as it is.
CostingTotals runCosting(const COrder& order, const CPlantData& plantData, CostingObserver& observer);

// Costs the order and writes the costing report in one pass. `orderFileName` is the order
// file's name without folder (empty for an order without a file). Reads its inputs only.
// `progress` counts the operations and may stop the run.
CostingResult costOrder(const COrder& order, const CPlantData& plantData, std::string_view orderFileName,
    const text::PrintDate& printDate, const Progress& progress = {});

} // namespace kalkora
