#include "costing/PostCalc.h"

#include "costing/CostAnalysis.h"
#include "costing/OrderCosting.h"
#include "text/Cp1252.h"
#include "text/NumberFormat.h"

#include <cmath>

namespace kalkora {

namespace {

constexpr std::string_view kNoPostCalc = "die Nachkalkulation kann nicht berechnet werden.";

// R(deviation × 10000 ÷ plan) in hundredths of a percent, exactly: both doubles are split into
// 53-bit integers and a power of two, so that the quotient is taken of integers. None where the
// plan is 0 or not finite, or the percentage reaches the price limit.
std::optional<Percent> percentOfPlan(double deviation, double plan)
{
    if (!std::isfinite(plan) || plan == 0 || !std::isfinite(deviation))
        return std::nullopt;
    if (deviation == 0)
        return Percent(0);
    int deviationExponent = 0;
    int planExponent = 0;
    WideCents numerator = WideCents(std::ldexp(std::frexp(deviation, &deviationExponent), 53)) * 10'000;
    WideCents denominator = WideCents(std::ldexp(std::frexp(plan, &planExponent), 53));
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    // The two mantissas are within a factor of two of each other: beyond these shifts the
    // percentage is out of range, or below half a hundredth.
    const int shift = deviationExponent - planExponent;
    if (shift > 40)
        return std::nullopt;
    if (shift < -70)
        return Percent(0);
    if (shift >= 0)
        numerator *= WideCents(1) << shift;
    else
        denominator *= WideCents(1) << -shift;
    const WideCents percent = roundedQuotient(numerator, denominator);
    if (!withinPriceLimit(percent))
        return std::nullopt;
    return Percent(std::int64_t(percent));
}

// Puts each operation's share of the cost per produced piece into the plan or the actual side.
class ShareObserver : public CostingObserver {
public:
    ShareObserver(std::vector<PostCalcOperation>& operations, double PlanActual::*side, std::int32_t produced)
        : operations(operations)
        , side(side)
        , produced(produced)
    {
    }

    void internalOperationCosted(
        std::int32_t index, const COperation&, std::int32_t lot, const InternalOperationCosting& costing) override
    {
        share(index, internalParts(costing), double(lot));
    }

    void externalOperationCosted(std::int32_t index, const COperation& op, double surcharge, float lot) override
    {
        share(index, externalParts(op, surcharge), double(lot));
    }

    void operationNotCosted(std::int32_t index, const COperation&, std::string_view) override
    {
        operations[std::size_t(index)].costed = false;
    }

private:
    void share(std::int32_t index, const CostParts& parts, double lot)
    {
        PostCalcOperation& operation = operations[std::size_t(index)];
        operation.full.*side = parts.full * lot / produced;
        operation.direct.*side = parts.direct * lot / produced;
    }

    std::vector<PostCalcOperation>& operations;
    double PlanActual::*side;
    std::int32_t produced;
};

// The order as it is made `produced` times: every lot scaled from the quantity base.
COrder scaledOrder(const COrder& order, std::int32_t produced)
{
    requirePositiveBase(order, kNoPostCalc);
    COrder scaled;
    scaled.quantityBase = produced;
    for (std::int32_t i = 0; i < order.operations.count(); ++i) {
        COperation& op = scaled.operations.emplace();
        op = *order.operations.at(i);
        (op.isInternal != 0 ? op.lotSize : op.externalLotSize) = scaledLotOf(order, i, produced, kNoPostCalc);
    }
    return scaled;
}

unsigned changedFields(const Actual& actual)
{
    unsigned changed = 0;
    for (std::size_t i = 0; i < actual.values.size(); ++i)
        if (actual.values[i])
            changed |= 1u << i;
    return changed;
}

QuoteComparison compare(const OfferedQuote& quote, const PostCalcResult& result)
{
    QuoteComparison comparison;
    comparison.listPrice = quote.listPrice;
    comparison.cashPrice = priceBackward(quote.listPrice, quote.scheme, {}).cashPrice;
    const auto costPrice = [&](std::optional<double> perPiece, std::int32_t pieces) -> std::optional<Money> {
        const std::optional<Money> orderCost = perPiece ? moneyOf(*perPiece) : std::nullopt;
        return orderCost ? costPriceOf(*orderCost, pieces, quote.scheme) : std::nullopt;
    };
    comparison.plannedCostPrice = costPrice(result.fullPerPiece.plan, result.producedQuantity);
    comparison.actualCostPrice = costPrice(result.fullPerGoodPiece, result.goodQuantity);
    return comparison;
}

} // namespace

std::optional<Percent> PlanActual::deviationPercent() const
{
    return percentOfPlan(deviation(), plan);
}

std::optional<Money> QuoteComparison::profitAt(std::optional<Money> costPrice) const
{
    if (!costPrice)
        return std::nullopt;
    return Money(cashPrice.count() - costPrice->count());
}

std::optional<Percent> QuoteComparison::percentAt(std::optional<Money> costPrice) const
{
    const std::optional<Money> profit = profitAt(costPrice);
    return profit ? profitPercent(*profit, *costPrice) : std::nullopt;
}

std::optional<std::string> actualsMismatch(
    const COrder& order, const std::vector<Actual>& actuals, std::int32_t produced, std::int32_t good)
{
    const std::int32_t count = order.operations.count();
    for (std::size_t i = 0; i < actuals.size(); ++i) {
        const Actual& actual = actuals[i];
        if (actual.operation < 1 || actual.operation > count) {
            return "actuals[" + std::to_string(i) + "].operation: Der Auftrag hat keinen Arbeitsgang "
                + text::germanInt(actual.operation) + ", er hat " + text::germanInt(count) + " Arbeitsgänge.";
        }
        const std::string name = text::cp1252ToUtf8(order.operations.at(actual.operation - 1)->name);
        if (name != actual.name) {
            return "Arbeitsgang " + std::to_string(actual.operation) + " heißt im Auftrag „" + name
                + "“, in der Nachkalkulation „" + actual.name + "“.";
        }
    }
    if (good > produced) {
        return "goodQuantity: " + text::germanInt(good) + " Gutstücke sind mehr als die " + text::germanInt(produced)
            + " produzierten.";
    }
    return std::nullopt;
}

void applyActual(COperation& operation, const Actual& actual)
{
    for (std::size_t i = 0; i < kActualFields.size(); ++i) {
        if (const std::optional<double> value = actual.values[i])
            std::visit(
                [&](auto member) {
                    using Value = std::remove_reference_t<decltype(operation.*member)>;
                    operation.*member = Value(*value);
                },
                kActualFields[i].member);
    }
}

PostCalcResult postCalculate(const COrder& order, const CPlantData& plantData, std::int32_t produced, std::int32_t good,
    const std::vector<Actual>& actuals, const std::optional<OfferedQuote>& quote)
{
    PostCalcResult result;
    result.producedQuantity = produced;
    result.goodQuantity = good;
    COrder plan = scaledOrder(order, produced);
    result.operations.resize(std::size_t(plan.operations.count()));
    for (std::int32_t i = 0; i < plan.operations.count(); ++i) {
        PostCalcOperation& operation = result.operations[std::size_t(i)];
        operation.index = i + 1;
        operation.name = plan.operations.at(i)->name;
    }

    ShareObserver planShares(result.operations, &PlanActual::plan, produced);
    CostingTotals planTotals = runCosting(plan, plantData, planShares);
    // The plan is not needed any more: the actual is made of it.
    COrder& actual = plan;
    for (const Actual& measured : actuals) {
        applyActual(*actual.operations.at(measured.operation - 1), measured);
        result.operations[std::size_t(measured.operation - 1)].changed = changedFields(measured);
    }
    ShareObserver actualShares(result.operations, &PlanActual::actual, produced);
    const CostingTotals actualTotals = runCosting(actual, plantData, actualShares);

    result.fullTotal = { planTotals.full, actualTotals.full };
    result.directTotal = { planTotals.direct, actualTotals.direct };
    result.fullPerPiece = { planTotals.full / produced, actualTotals.full / produced };
    result.directPerPiece = { planTotals.direct / produced, actualTotals.direct / produced };
    if (good > 0) {
        result.fullPerGoodPiece = actualTotals.full / good;
        result.directPerGoodPiece = actualTotals.direct / good;
        if (quote)
            result.quote = compare(*quote, result);
    } else if (quote) {
        result.noQuoteReason = "Ohne Gutstücke gibt es keinen Vergleich mit dem Angebot.";
    }
    result.messages = std::move(planTotals.messages);
    result.uncostedOperations = planTotals.uncostedOperations;
    return result;
}

} // namespace kalkora
