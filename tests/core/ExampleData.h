#pragma once

#include "costing/MachineRates.h"
#include "model/COrder.h"
#include "model/CPlantData.h"

#include <initializer_list>
#include <memory>
#include <string>

// The example data of every test: the worked example of the machine rates and of the report.
namespace kalkora::testing {

// The lathe of the worked example, under any name.
inline CMachine exampleMachine(const std::string& name = "Drehmaschine 1")
{
    CMachine m;
    m.name = name;
    m.purchaseCost = 120000;
    m.usefulLifeYears = 10;
    m.installedPowerKw = 20;
    m.powerUsagePct = 50;
    m.toolCostPerYear = 3000;
    m.maintenancePerYear = 2000;
    m.floorAreaSqm = 15;
    return m;
}

// Adds `machine` with its rates computed from the plant values.
inline void addMachine(CPlantData& plant, CMachine machine)
{
    computeMachineRates(plant, machine);
    plant.machines.add(std::make_unique<CMachine>(std::move(machine)));
}

// 250 days of one 8-hour shift, rent 60, energy 0.15, interest 6 %, operator rates 25 (variable)
// and 15 (fixed), overheads 10 % and 5 %; hours per year computed; the example lathe under each name.
inline CPlantData examplePlant(std::initializer_list<const char*> machineNames = { "Drehmaschine 1" })
{
    CPlantData p;
    p.rentPerSqmYear = 60;
    p.energyPricePerKwh = 0.15f;
    p.hoursPerShift = 8;
    p.workDaysPerYear = 250;
    p.interestRatePct = 6;
    p.operatorFixedRate12 = 15;
    p.operatorVarRate12 = 25;
    p.overheadExternalPct = 10;
    p.overheadMaterialPct = 5;
    p.computeHoursPerYear();
    for (const char* name : machineNames)
        addMachine(p, exampleMachine(name));
    return p;
}

inline std::unique_ptr<COperation> turningOperation(
    const std::string& name = "Drehen", const std::string& machineName = "Drehmaschine 1")
{
    auto op = std::make_unique<COperation>();
    op->name = name;
    op->machineName = machineName;
    op->lotSize = 100;
    op->setupTimeMin = 30;
    op->machineTimeMin = 2;
    op->operatorTimeMin = 1;
    op->machineUtilPct = 80;
    op->materialWeightKg = 0.5f;
    op->materialPricePerKg = 2;
    op->materialUtilPct = 50;
    return op;
}

inline std::unique_ptr<COperation> externalOperation(
    const std::string& name = "Haerten", float costPerPiece = 1.5f, std::int32_t lotSize = 100)
{
    auto op = std::make_unique<COperation>();
    op->isInternal = 0;
    op->name = name;
    op->machineName = "EXTERN";
    op->externalCostPerPiece = costPerPiece;
    op->externalLotSize = lotSize;
    return op;
}

inline COrder exampleOrder()
{
    COrder order;
    order.name = "Welle 20x200";
    order.remark = "Muster fuer Kunde A, Rohmaterial C45 gezogen, Lieferung in zwei Teilen";
    order.quantityBase = 100;
    order.operations.add(turningOperation());
    order.operations.add(externalOperation());
    return order;
}

} // namespace kalkora::testing
