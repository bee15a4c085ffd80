#pragma once

#include "costing/Money.h"
#include "costing/SalesPrice.h"
#include "model/COrder.h"
#include "model/CPlantData.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kalkora {

// The post-calculation (Nachkalkulation): what an order really cost once it was made, against
// its plan and against the price the customer was offered. Plan and actual are the order scaled
// to the quantity produced and costed as the price scale costs it; the actual has the values
// measured on the shop floor in place of the planned ones.

// An operation's value that an actual may give: its key in files, its German name, and where it
// lives in an operation.
struct ActualField {
    const char* key;
    const char* germanName; // UTF-8
    std::variant<float COperation::*, std::int32_t COperation::*> member;

    bool isLot() const { return member.index() == 1; }
};

enum ActualFieldIndex {
    SetupTimeField,
    MachineTimeField,
    OperatorTimeField,
    MachineUtilField,
    MaterialUtilField,
    MaterialWeightField,
    MaterialPriceField,
    ExternalCostField,
    LotSizeField,
    ExternalLotSizeField,
    ActualFieldCount
};

inline constexpr std::array<ActualField, ActualFieldCount> kActualFields { {
    { "setupTimeMin", "Rüstzeit", &COperation::setupTimeMin },
    { "machineTimeMin", "Maschinenzeit", &COperation::machineTimeMin },
    { "operatorTimeMin", "Personalzeit", &COperation::operatorTimeMin },
    { "machineUtilPct", "Maschinennutzung", &COperation::machineUtilPct },
    { "materialUtilPct", "Materialausnutzung", &COperation::materialUtilPct },
    { "materialWeightKg", "Materialgewicht", &COperation::materialWeightKg },
    { "materialPricePerKg", "Materialpreis", &COperation::materialPricePerKg },
    { "externalCostPerPiece", "Fremdleistungspreis", &COperation::externalCostPerPiece },
    { "lotSize", "Losgröße", &COperation::lotSize },
    { "externalLotSize", "Losgröße extern", &COperation::externalLotSize },
} };

// What was measured for one operation. A value not given keeps the plan's.
struct Actual {
    std::int32_t operation = 0; // 1-based, as the report counts
    std::string name; // UTF-8: the order's name of the operation when it was measured
    // Floats and int32 as they are put into the operation; a double holds either exactly.
    std::array<std::optional<double>, ActualFieldCount> values;

    bool operator==(const Actual&) const = default;
};

// Why the actuals do not fit the order (UTF-8), or nothing: an operation number outside the
// order, an operation renamed since, more good pieces than produced.
std::optional<std::string> actualsMismatch(
    const COrder& order, const std::vector<Actual>& actuals, std::int32_t produced, std::int32_t good);

// Puts the values `actual` gives into `operation`.
void applyActual(COperation& operation, const Actual& actual);

// The price a quote offered at the quantity produced, with the scheme it was priced with.
struct OfferedQuote {
    SalesScheme scheme;
    Money listPrice;
};

// A figure of plan and actual in euro, as the costing gives them.
struct PlanActual {
    double plan = 0;
    double actual = 0;

    double deviation() const { return actual - plan; }
    // The deviation in hundredths of a percent of the plan; none where the plan is 0 or not finite.
    std::optional<Percent> deviationPercent() const;
};

// The share of one operation in the order's cost per produced piece.
struct PostCalcOperation {
    std::int32_t index = 0; // 1-based
    std::string name; // Windows-1252, as stored
    unsigned changed = 0; // bit i: the actual gives kActualFields[i]
    bool costed = true;
    PlanActual full;
    PlanActual direct;
};

// The order's price against the cost price of plan and actual.
struct QuoteComparison {
    Money listPrice;
    Money cashPrice; // what the customer pays, after Rabatt, Skonto and Provision
    std::optional<Money> plannedCostPrice;
    std::optional<Money> actualCostPrice;

    std::optional<Money> plannedProfit() const { return profitAt(plannedCostPrice); }
    std::optional<Money> actualProfit() const { return profitAt(actualCostPrice); }
    std::optional<Percent> plannedProfitPercent() const { return percentAt(plannedCostPrice); }
    std::optional<Percent> actualProfitPercent() const { return percentAt(actualCostPrice); }

private:
    std::optional<Money> profitAt(std::optional<Money> costPrice) const;
    std::optional<Percent> percentAt(std::optional<Money> costPrice) const;
};

struct PostCalcResult {
    std::int32_t producedQuantity = 0;
    std::int32_t goodQuantity = 0;
    std::vector<PostCalcOperation> operations;
    PlanActual fullPerPiece;
    PlanActual directPerPiece;
    PlanActual fullTotal;
    PlanActual directTotal;
    std::optional<double> fullPerGoodPiece; // actual; none without good pieces
    std::optional<double> directPerGoodPiece;
    std::optional<QuoteComparison> quote;
    std::string noQuoteReason; // UTF-8: why there is no comparison with a quote; empty: none asked
    std::vector<std::string> messages; // Windows-1252, one per operation that was not costed
    int uncostedOperations = 0;
    bool complete() const { return uncostedOperations == 0; }
};

// Plan and actual of `order` produced `produced` times (1 … 2^31-1), `good` of them good, with
// `actuals` that fit the order (see actualsMismatch). The quote is compared where one is given
// and there are good pieces; without good pieces the result says why it is not. Throws PriceScaleError where the order
// cannot be scaled.
PostCalcResult postCalculate(const COrder& order, const CPlantData& plantData, std::int32_t produced, std::int32_t good,
    const std::vector<Actual>& actuals, const std::optional<OfferedQuote>& quote);

} // namespace kalkora
