#include "costing/OrderCosting.h"

#include "costing/ReportWriter.h"
#include "text/Cp1252.h"

namespace kalkora {

namespace {

constexpr std::size_t kRemarkPieceLength = 38;
constexpr std::string_view kRemarkBreak = "\r\n                 "; // CR LF and 17 blanks

struct OrderTotals {
    double full = 0;
    double direct = 0;
};

// Why an internal operation could not be costed: the message box text and the report line.
struct NotCostedReason {
    const char* message;
    const char* reportLine;
};

constexpr NotCostedReason kMachineMissing { "Maschinendatensatz nicht gefunden. Daten inkonsistent !!",
                                            "Maschinendatensatz nicht gefunden - Arbeitsgang nicht berechnet" };
constexpr NotCostedReason kBadShiftMode { "Ungültiger Schichtbetrieb. Daten inkonsistent !!",
                                          "Ungültiger Schichtbetrieb - Arbeitsgang nicht berechnet" };

float toFloat(double value) { return static_cast<float>(value); }

InternalOperationFigures costInternal(const COrder& order, std::int32_t index, const CPlantData& plant,
                                      const CMachine& machine)
{
    const COperation& op = *order.operations.at(index);
    const int shift = op.shiftMode;
    const bool threeShifts = shift == 2;

    const float setupSharePerPiece = toFloat(double(op.setupTimeMin) / double(op.lotSize));
    const float machineMinutesPerPiece = toFloat(double(setupSharePerPiece) + op.machineTimeMin);
    const float operatorMinutesPerPiece = toFloat(double(setupSharePerPiece) + op.operatorTimeMin);
    const float machineFixedRateEff = toFloat(double(machine.fixedRate[shift]) / op.machineUtilPct * 100);
    const float machineVarRateEff = toFloat(double(machine.variableRate[shift]) / op.machineUtilPct * 100);

    InternalOperationFigures f;
    f.machineFixedRate = machine.fixedRate[shift];
    f.machineVarRate = machine.variableRate[shift];
    f.operatorFixedRate = threeShifts ? plant.operatorFixedRate3 : plant.operatorFixedRate12;
    f.operatorVarRate = threeShifts ? plant.operatorVarRate3 : plant.operatorVarRate12;
    f.materialDirectCost = order.materialDirectCost(index);
    f.materialFullCost = toFloat(double(f.materialDirectCost) * (double(plant.overheadMaterialPct) / 100 + 1));

    const double operatorPart = (double(f.operatorFixedRate) + f.operatorVarRate) * operatorMinutesPerPiece / 60;
    const double machinePart = (double(machineFixedRateEff) + machineVarRateEff) * machineMinutesPerPiece / 60;
    f.fullCostPerPiece = toFloat(operatorPart + machinePart + f.materialFullCost);
    f.directCostPerPiece = toFloat(double(operatorMinutesPerPiece) * f.operatorVarRate / 60
                                   + double(machineMinutesPerPiece) * machineVarRateEff / 60 + f.materialDirectCost);
    return f;
}

class OrderCosting {
public:
    OrderCosting(const COrder& order, const CPlantData& plant)
        : order(order)
        , plant(plant)
    {
    }

    CostingResult run(std::string_view orderFileName, const text::PrintDate& printDate, const Progress& progress)
    {
        report.writeHeader(order, orderFileName, printDate);
        for (std::int32_t i = 0; i < order.operations.count(); ++i) {
            if (!keepGoing(progress, i, i, order.operations.count())) {
                result.cancelled = true;
                return std::move(result);
            }
            if (order.operations.at(i)->isInternal != 0)
                costInternalOperation(i);
            else
                costExternalOperation(*order.operations.at(i));
            report.writeOperationEnd();
        }
        report.writeTotals(order.quantityBase, totals.full / order.quantityBase, totals.direct / order.quantityBase);
        if (result.uncostedOperations > 0)
            report.writeIncompleteWarning(result.uncostedOperations);
        result.reportText = report.take();
        return std::move(result);
    }

private:
    void costInternalOperation(std::int32_t index)
    {
        const COperation& op = *order.operations.at(index);
        report.writeInternalHeading(op);
        const CMachine* machine = plant.findMachine(op.machineName);
        if (machine == nullptr) {
            skip(kMachineMissing);
            return;
        }
        if (op.shiftMode < 0 || op.shiftMode > 2) {
            skip(kBadShiftMode);
            return;
        }
        const InternalOperationFigures figures = costInternal(order, index, plant, *machine);
        report.writeInternalFigures(op, figures);
        // The lot size is exact in double; the external lot size below goes through float.
        totals.full += double(op.lotSize) * figures.fullCostPerPiece;
        totals.direct += double(op.lotSize) * figures.directCostPerPiece;
    }

    void costExternalOperation(const COperation& op)
    {
        const double surcharge = double(plant.overheadExternalPct) / 100 + 1;
        report.writeExternal(op, surcharge * op.externalCostPerPiece);
        const float lotSize = static_cast<float>(op.externalLotSize);
        totals.full += surcharge * op.externalCostPerPiece * lotSize;
        totals.direct += double(op.externalCostPerPiece) * lotSize;
    }

    void skip(const NotCostedReason& reason)
    {
        result.messages.push_back(text::utf8ToCp1252(reason.message));
        report.writeNotCosted(text::utf8ToCp1252(reason.reportLine));
        ++result.uncostedOperations;
    }

    const COrder& order;
    const CPlantData& plant;
    ReportWriter report;
    OrderTotals totals;
    CostingResult result;
};

} // namespace

CostingResult costOrder(const COrder& order, const CPlantData& plantData, std::string_view orderFileName,
                        const text::PrintDate& printDate, const Progress& progress)
{
    return OrderCosting(order, plantData).run(orderFileName, printDate, progress);
}

std::string wrapRemark(std::string_view remark)
{
    std::string line;
    line.reserve(remark.size());
    for (char c : remark) {
        if (c != '\r' && c != '\n')
            line += c;
    }
    std::string wrapped;
    wrapped.reserve(line.size() + line.size() / kRemarkPieceLength * kRemarkBreak.size());
    for (std::size_t pos = 0; pos < line.size(); pos += kRemarkPieceLength) {
        if (pos > 0)
            wrapped += kRemarkBreak;
        wrapped.append(line, pos, kRemarkPieceLength);
    }
    return wrapped;
}

} // namespace kalkora
