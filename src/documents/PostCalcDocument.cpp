#include "documents/PostCalcDocument.h"

#include "text/Cp1252.h"

#include <algorithm>

namespace kalkora::documents {

namespace {

// The fields the order's plan takes over: the times, the utilisation and the material.
constexpr ActualFieldIndex kPlanFields[] = { SetupTimeField, MachineTimeField, OperatorTimeField, MachineUtilField,
    MaterialUtilField, MaterialWeightField, MaterialPriceField };

} // namespace

PostCalcDocument::PostCalcDocument(EditHistory& history)
    : FileDocument(history, EditedData::PostCalc,
        { QStringLiteral("Nachkalkulationen"), QStringLiteral("nak"),
            QStringLiteral("Die Nachkalkulation wurde geändert. Sollen die Änderungen gespeichert werden?") },
        QStringLiteral("folders/postcalc"))
{
}

QString PostCalcDocument::title() const
{
    return titleNaming(QStringLiteral("Neue Nachkalkulation"));
}

void PostCalcDocument::startNew(const QString& orderFile, const QString& masterFile, const QDate& today)
{
    releaseFile();
    startHistory(false);
    files::PostCalculation started;
    started.orderFile = orderFile;
    started.masterFile = masterFile;
    started.date = today;
    replace(std::move(started));
}

files::FileResult PostCalcDocument::open(const QString& file, float, OpenFileGuard claimed, const Progress&)
{
    files::PostCalculation read;
    files::FileResult result = files::loadPostCalc(file, read);
    if (!result.ok())
        return result;
    opened(file, std::move(claimed));
    startHistory(false);
    replace(std::move(read));
    return result;
}

files::FileResult PostCalcDocument::save(const QString& file, const Progress&)
{
    files::FileResult result = files::savePostCalc(file, postCalc);
    if (!result.ok())
        return result;
    written(file);
    emit saved();
    return result;
}

files::RecoveredDocument PostCalcDocument::recoveryState() const
{
    return recoveredAs(files::postCalcToJson(postCalc, files::recoveredPathsFolder()).toStdString());
}

bool PostCalcDocument::restore(const files::RecoveredDocument& recovered)
{
    files::PostCalculation read;
    if (files::postCalcFromJson(QByteArray::fromStdString(recovered.json), files::recoveredPathsFolder(), read))
        return false;
    restoreFile(recovered);
    replace(std::move(read));
    return true;
}

void PostCalcDocument::edit(const QString& text, const std::function<void(files::PostCalculation&)>& change)
{
    files::PostCalculation after = postCalc;
    change(after);
    if (after != postCalc)
        history.push(std::make_unique<WholeDataStep<files::PostCalculation>>(history, kind, text, postCalc,
            std::move(after), [this](const files::PostCalculation& data) { replace(data); }));
}

void PostCalcDocument::replace(files::PostCalculation next)
{
    postCalc = std::move(next);
    emit changed();
}

void PostCalcDocument::setQuantities(std::optional<std::int32_t> produced, std::optional<std::int32_t> good)
{
    edit(QStringLiteral("Stückzahlen ändern"), [&](files::PostCalculation& changed) {
        changed.producedQuantity = produced;
        changed.goodQuantity = good;
    });
}

void PostCalcDocument::setDate(const QDate& date)
{
    edit(QStringLiteral("Datum ändern"), [&](files::PostCalculation& changed) { changed.date = date; });
}

void PostCalcDocument::setRemark(const QString& remark)
{
    edit(QStringLiteral("Bemerkung ändern"), [&](files::PostCalculation& changed) { changed.remark = remark; });
}

void PostCalcDocument::setQuoteFile(const QString& path)
{
    edit(QStringLiteral("Angebot wählen"), [&](files::PostCalculation& changed) { changed.quoteFile = path; });
}

void PostCalcDocument::setDataFiles(const QString& orderFile, const QString& masterFile)
{
    postCalc.orderFile = orderFile;
    postCalc.masterFile = masterFile;
}

void PostCalcDocument::setActual(
    const COrder& order, std::int32_t operation, ActualFieldIndex field, std::optional<double> value)
{
    // As the operation and the file hold it.
    if (value)
        value = kActualFields[field].isLot() ? double(std::int32_t(*value)) : double(float(*value));
    edit(QStringLiteral("Ist-Wert ändern"), [&](files::PostCalculation& changed) {
        std::vector<Actual>& actuals = changed.actuals;
        auto at = std::lower_bound(actuals.begin(), actuals.end(), operation,
            [](const Actual& actual, std::int32_t number) { return actual.operation < number; });
        if (at == actuals.end() || at->operation != operation)
            at = actuals.insert(at, Actual { operation, {}, {} });
        at->name = text::cp1252ToUtf8(order.operations.at(operation - 1)->name);
        at->values[field] = value;
        if (std::none_of(
                at->values.begin(), at->values.end(), [](const auto& measured) { return measured.has_value(); }))
            actuals.erase(at);
    });
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
