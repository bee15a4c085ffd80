#include "costing/OrderCosting.h"

#include "costing/ReportWriter.h"
#include "text/Cp1252.h"

#include <algorithm>
#include <stdexcept>

namespace kalkora {

namespace {

// Why an internal operation could not be costed: the message box text and the report line,
// both Windows-1252.
struct NotCostedReason {
    std::string message;
    std::string reportLine;
};

const NotCostedReason& machineMissing()
{
    static const NotCostedReason reason { text::utf8ToCp1252(
                                              "Maschinendatensatz nicht gefunden. Daten inkonsistent !!"),
        text::utf8ToCp1252("Maschinendatensatz nicht gefunden - Arbeitsgang nicht berechnet") };
    return reason;
}

const NotCostedReason& badShiftMode()
{
    static const NotCostedReason reason { text::utf8ToCp1252("Ungültiger Schichtbetrieb. Daten inkonsistent !!"),
        text::utf8ToCp1252("Ungültiger Schichtbetrieb - Arbeitsgang nicht berechnet") };
    return reason;
}

float toFloat(double value)
{
    return static_cast<float>(value);
}

InternalOperationCosting costInternal(
    const COrder& order, std::int32_t index, std::int32_t lotSize, const CPlantData& plant, const CMachine& machine)
{
    const COperation& op = *order.operations.at(index);
    const int shift = op.shiftMode;
    const bool threeShifts = shift == 2;

    InternalOperationCosting c;
    c.setupSharePerPiece = toFloat(double(op.setupTimeMin) / double(lotSize));
    c.machineMinutesPerPiece = toFloat(double(c.setupSharePerPiece) + op.machineTimeMin);
    c.operatorMinutesPerPiece = toFloat(double(c.setupSharePerPiece) + op.operatorTimeMin);
    c.machineFixedRateEff = toFloat(double(machine.fixedRate[shift]) / op.machineUtilPct * 100);
    c.machineVarRateEff = toFloat(double(machine.variableRate[shift]) / op.machineUtilPct * 100);

    InternalOperationFigures& f = c.figures;
    f.machineFixedRate = machine.fixedRate[shift];
    f.machineVarRate = machine.variableRate[shift];
    f.operatorFixedRate = threeShifts ? plant.operatorFixedRate3 : plant.operatorFixedRate12;
    f.operatorVarRate = threeShifts ? plant.operatorVarRate3 : plant.operatorVarRate12;
    f.materialDirectCost = order.materialDirectCost(index);
    f.materialFullCost = toFloat(double(f.materialDirectCost) * (double(plant.overheadMaterialPct) / 100 + 1));

    const double operatorPart = (double(f.operatorFixedRate) + f.operatorVarRate) * c.operatorMinutesPerPiece / 60;
    const double machinePart = (double(c.machineFixedRateEff) + c.machineVarRateEff) * c.machineMinutesPerPiece / 60;
    f.fullCostPerPiece = toFloat(operatorPart + machinePart + f.materialFullCost);
    f.directCostPerPiece = toFloat(double(c.operatorMinutesPerPiece) * f.operatorVarRate / 60
        + double(c.machineMinutesPerPiece) * c.machineVarRateEff / 60 + f.materialDirectCost);
    return c;
}

// Writes the report while the order is costed.
class ReportObserver : public CostingObserver {
public:
    void internalOperationStarts(const COperation& op) override { report.writeInternalHeading(op); }
    void internalOperationCosted(
        std::int32_t, const COperation& op, std::int32_t, const InternalOperationCosting& costing) override
    {
        report.writeInternalFigures(op, costing.figures);
    }
    void operationNotCosted(std::int32_t, const COperation&, std::string_view reportLine) override
    {
        report.writeNotCosted(reportLine);
    }
    void externalOperationCosted(std::int32_t, const COperation& op, double surcharge, float) override
    {
        report.writeExternal(op, surcharge * op.externalCostPerPiece);
    }
    void operationEnds() override { report.writeOperationEnd(); }

    ReportWriter report;
};

} // namespace

CostingRun::CostingRun(const COrder& order, const CPlantData& plantData, CostingObserver& observer)
    : order(order)
    , plant(plantData)
    , observer(observer)
{
}

void CostingRun::cost(std::int32_t first, std::int32_t last, std::span<const std::int32_t> lots)
{
    if (first < 0 || last > order.operations.count() || (!lots.empty() && lots.size() != std::size_t(last - first)))
        throw std::invalid_argument("CostingRun::cost: operations or lot sizes out of range");
    for (std::int32_t i = first; i < last; ++i) {
        const COperation& op = *order.operations.at(i);
        if (op.isInternal != 0)
            costInternalOperation(i, op, lots.empty() ? op.lotSize : lots[std::size_t(i - first)]);
        else
            costExternalOperation(i, op, lots.empty() ? op.externalLotSize : lots[std::size_t(i - first)]);
        observer.operationEnds();
    }
}

void CostingRun::costInternalOperation(std::int32_t index, const COperation& op, std::int32_t lotSize)
{
    observer.internalOperationStarts(op);
    const CMachine* machine = plant.findMachine(op.machineName);
    if (machine == nullptr) {
        skip(index, op, machineMissing().message, machineMissing().reportLine);
        return;
    }
    if (op.shiftMode < 0 || op.shiftMode > 2) {
        skip(index, op, badShiftMode().message, badShiftMode().reportLine);
        return;
    }
    const InternalOperationCosting costing = costInternal(order, index, lotSize, plant, *machine);
    observer.internalOperationCosted(index, op, lotSize, costing);
    // The lot size is exact in double; the external lot size below goes through float.
    totals.full += double(lotSize) * costing.figures.fullCostPerPiece;
    totals.direct += double(lotSize) * costing.figures.directCostPerPiece;
}

void CostingRun::costExternalOperation(std::int32_t index, const COperation& op, std::int32_t lotSize)
{
    const double surcharge = double(plant.overheadExternalPct) / 100 + 1;
    const float lot = static_cast<float>(lotSize);
    observer.externalOperationCosted(index, op, surcharge, lot);
    totals.full += surcharge * op.externalCostPerPiece * lot;
    totals.direct += double(op.externalCostPerPiece) * lot;
}

void CostingRun::skip(
    std::int32_t index, const COperation& op, const std::string& message, const std::string& reportLine)
{
    totals.messages.push_back(message);
    ++totals.uncostedOperations;
    observer.operationNotCosted(index, op, reportLine);
}

CostingTotals runCosting(const COrder& order, const CPlantData& plantData, CostingObserver& observer)
{
    CostingRun run(order, plantData, observer);
    run.cost(0, order.operations.count());
    return run.take();
}

CostingResult costOrder(const COrder& order, const CPlantData& plantData, std::string_view orderFileName,
    const text::PrintDate& printDate, const Progress& progress)
{
    ReportObserver observer;
    observer.report.writeHeader(order, orderFileName, printDate);
    CostingRun run(order, plantData, observer);
    // Costed a block at a time, so that `progress` hears of it every so often and may stop it.
    constexpr std::int32_t block = 4096;
    const std::int32_t count = order.operations.count();
    for (std::int32_t first = 0; first < count; first += block) {
        if (!keepGoing(progress, first, first, count)) {
            CostingResult cancelled;
            cancelled.cancelled = true;
            return cancelled;
        }
        run.cost(first, std::min(first + block, count));
    }
    CostingTotals totals = run.take();
    observer.report.writeTotals(
        order.quantityBase, totals.full / order.quantityBase, totals.direct / order.quantityBase);
    if (totals.uncostedOperations > 0)
        observer.report.writeIncompleteWarning(totals.uncostedOperations);
    return CostingResult { observer.report.take(), std::move(totals.messages), totals.uncostedOperations, false };
}

} // namespace kalkora
