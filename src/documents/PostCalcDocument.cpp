#include "documents/PostCalcDocument.h"

#include "text/Cp1252.h"

#include <algorithm>

namespace kalkora::documents {

namespace {

// The fields the order's plan takes over: the times, the utilisation and the material.
constexpr ActualFieldIndex kPlanFields[] = { SetupTimeField, MachineTimeField, OperatorTimeField, MachineUtilField,
    MaterialUtilField, MaterialWeightField, MaterialPriceField };

} // namespace

void PostCalcDocument::startNew(const QString& orderFile, const QString& masterFile, const QDate& today)
{
    filePath.clear();
    changed = false;
    postCalc = {};
    postCalc.orderFile = orderFile;
    postCalc.masterFile = masterFile;
    postCalc.date = today;
}

files::FileResult PostCalcDocument::open(const QString& path)
{
    files::PostCalculation read;
    files::FileResult result = files::loadPostCalc(path, read);
    if (!result.ok())
        return result;
    postCalc = std::move(read);
    filePath = path;
    changed = false;
    return result;
}

files::FileResult PostCalcDocument::saveAs(const QString& path)
{
    files::FileResult result = files::savePostCalc(path, postCalc);
    if (result.ok()) {
        filePath = path;
        changed = false;
    }
    return result;
}

void PostCalcDocument::setQuantities(std::optional<std::int32_t> produced, std::optional<std::int32_t> good)
{
    postCalc.producedQuantity = produced;
    postCalc.goodQuantity = good;
    changed = true;
}

void PostCalcDocument::setDate(const QDate& date)
{
    postCalc.date = date;
    changed = true;
}

void PostCalcDocument::setRemark(const QString& remark)
{
    postCalc.remark = remark;
    changed = true;
}

void PostCalcDocument::setQuoteFile(const QString& path)
{
    postCalc.quoteFile = path;
    changed = true;
}

void PostCalcDocument::setActual(
    const COrder& order, std::int32_t operation, ActualFieldIndex field, std::optional<double> value)
{
    std::vector<Actual>& actuals = postCalc.actuals;
    auto at = std::lower_bound(actuals.begin(), actuals.end(), operation,
        [](const Actual& actual, std::int32_t number) { return actual.operation < number; });
    if (at == actuals.end() || at->operation != operation)
        at = actuals.insert(at, Actual { operation, {}, {} });
    at->name = text::cp1252ToUtf8(order.operations.at(operation - 1)->name);
    // As the operation and the file hold it.
    if (value)
        value = kActualFields[field].isLot() ? double(std::int32_t(*value)) : double(float(*value));
    at->values[field] = value;
    if (std::none_of(at->values.begin(), at->values.end(), [](const auto& measured) { return measured.has_value(); }))
        actuals.erase(at);
    changed = true;
}

const Actual* PostCalcDocument::actualOf(std::int32_t operation) const
{
    const auto at = std::find_if(postCalc.actuals.begin(), postCalc.actuals.end(),
        [&](const Actual& actual) { return actual.operation == operation; });
    return at == postCalc.actuals.end() ? nullptr : &*at;
}

files::PostCalcOutcome PostCalcDocument::cost(const COrder& order, const CPlantData& plantData) const
{
    return files::costPostCalc(postCalc, order, plantData);
}

std::vector<std::pair<std::int32_t, COperation>> takenOverActuals(
    const COrder& order, const std::vector<Actual>& actuals)
{
    std::vector<std::pair<std::int32_t, COperation>> changes;
    for (const Actual& actual : actuals) {
        if (actual.operation < 1 || actual.operation > order.operations.count())
            continue;
        const COperation& planned = *order.operations.at(actual.operation - 1);
        Actual planPart { actual.operation, actual.name, {} };
        for (const ActualFieldIndex field : kPlanFields)
            planPart.values[field] = actual.values[field];
        COperation taken = planned;
        applyActual(taken, planPart);
        if (!(taken == planned))
            changes.emplace_back(actual.operation - 1, std::move(taken));
    }
    return changes;
}

} // namespace kalkora::documents
