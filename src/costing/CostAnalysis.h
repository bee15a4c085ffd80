#pragma once

#include "model/COrder.h"
#include "model/CPlantData.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kalkora {

// What a piece costs, split into the parts an estimator asks about. `setup` is the share of the
// four machine and operator parts that the setup causes; it is included in them, not added.
struct CostParts {
    double material = 0;
    double materialOverhead = 0;
    double machineFixed = 0;
    double machineVariable = 0;
    double operatorFixed = 0;
    double operatorVariable = 0;
    double setup = 0;
    double external = 0;
    double externalOverhead = 0;
    double full = 0;
    double direct = 0;
};

// One operation of the breakdown, per piece of its lot. The names point into the texts of the
// CostBreakdown it belongs to and stay valid as long as that or a copy of it lives.
struct OperationBreakdown {
    std::int32_t index = 0; // 1-based, as the report counts
    std::int32_t isInternal = 1;
    std::string_view name; // Windows-1252, as stored
    std::string_view machineName; // Windows-1252, as stored
    std::int32_t lot = 0; // lotSize or externalLotSize, whichever the costing uses
    bool costed = true; // false: missing machine or bad shift mode; all parts 0
    CostParts parts;
};

struct CostBreakdown {
    std::vector<OperationBreakdown> operations;
    CostParts order; // per piece of the order: weighted with the lots, divided by quantityBase
    std::vector<std::string> messages; // Windows-1252, one per operation that was not costed
    int uncostedOperations = 0;
    bool complete() const { return uncostedOperations == 0; }
    // Owns the names of the operations, kept in a few large blocks rather than one allocation per
    // operation, so that a large order is broken down in time proportional to its size. Shared by
    // copies.
    std::shared_ptr<const void> texts;
};

CostBreakdown breakDownCosts(const COrder& order, const CPlantData& plantData);

struct InternalOperationCosting;
// The parts of one costed operation per piece of its lot; `surcharge` as the costing passes it.
CostParts internalParts(const InternalOperationCosting& costing);
CostParts externalParts(const COperation& op, double surcharge);

struct PriceScaleRow {
    std::int32_t quantity = 0;
    double fullPerPiece = 0;
    double directPerPiece = 0;
    double setupPerPiece = 0;
    double fullTotal = 0;
    double directTotal = 0;
};

struct PriceScale {
    std::int32_t quantityBase = 0;
    std::vector<PriceScaleRow> rows; // ascending, each quantity once
    std::vector<std::string> messages; // Windows-1252, once per operation, not per quantity
    int uncostedOperations = 0;
    bool complete() const { return uncostedOperations == 0; }
};

// A price scale that cannot be computed (quantity base not positive, a scaled lot outside
// int32). what() is the German message in UTF-8.
class PriceScaleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws PriceScaleError with a message ending in `consequence` (UTF-8) where the order's
// quantity base is not positive: nothing can be scaled from it.
void requirePositiveBase(const COrder& order, std::string_view consequence);

// The lot size the costing reads for operation `index`, scaled from the order's quantity base
// (> 0) to `quantity` and rounded up. Throws PriceScaleError with a message ending in
// `consequence` (UTF-8) where it leaves int32.
std::int32_t scaledLotOf(const COrder& order, std::int32_t index, std::int32_t quantity, std::string_view consequence);

// 1, 10, 25, 50, 100, 250, 500, 1000 and the order's own quantity base.
std::vector<std::int32_t> defaultQuantities(std::int32_t quantityBase);

// Sorted ascending, each quantity once. Throws PriceScaleError.
PriceScale computePriceScale(const COrder& order, const CPlantData& plantData, std::vector<std::int32_t> quantities);

// Why the order's per-piece figures tell little (UTF-8), or empty: an order without operations
// costs nothing, and a quantity base below 1 leaves the costs per piece of the order undefined
// (the breakdown still shows them as the report computes them).
std::string orderWarning(const COrder& order);

// How a list of quantities is typed: on the command line, or in a window, where German points
// between thousands are read too ("1.000", "2.500.000").
enum class QuantityDialect { CommandLine, Window };

// Reads a list such as "1, 10,100" (blanks allowed around the commas). Every entry must be a
// whole number from 1 to 2^31-1. Returns false and a German message (UTF-8) otherwise.
bool parseQuantities(
    std::string_view text, QuantityDialect dialect, std::vector<std::int32_t>& quantities, std::string& error);

} // namespace kalkora
