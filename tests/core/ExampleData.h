#pragma once

#include "costing/MachineRates.h"
#include "model/COrder.h"
#include "model/CPlantData.h"

#include <memory>

namespace kalkora::testing {

// The worked example: plant values, the lathe "Drehmaschine 1" and the order "Welle 20x200".
inline CMachine exampleMachine()
{
    CMachine m;
    m.name = "Drehmaschine 1";
    m.purchaseCost = 120000;
    m.usefulLifeYears = 10;
    m.installedPowerKw = 20;
    m.powerUsagePct = 50;
    m.toolCostPerYear = 3000;
    m.maintenancePerYear = 2000;
    m.floorAreaSqm = 15;
    return m;
}

inline CPlantData examplePlant()
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
    auto machine = std::make_unique<CMachine>(exampleMachine());
    computeMachineRates(p, *machine);
    p.machines.add(std::move(machine));
    return p;
}

inline std::unique_ptr<COperation> turningOperation()
{
    auto op = std::make_unique<COperation>();
    op->name = "Drehen";
    op->machineName = "Drehmaschine 1";
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

inline std::unique_ptr<COperation> hardeningOperation()
{
    auto op = std::make_unique<COperation>();
    op->isInternal = 0;
    op->name = "Haerten";
    op->machineName = "EXTERN";
    op->externalCostPerPiece = 1.5f;
    op->externalLotSize = 100;
    return op;
}

inline COrder exampleOrder()
{
    COrder order;
    order.name = "Welle 20x200";
    order.remark = "Muster fuer Kunde A, Rohmaterial C45 gezogen, Lieferung in zwei Teilen";
    order.quantityBase = 100;
    order.operations.add(turningOperation());
    order.operations.add(hardeningOperation());
    return order;
}

} // namespace kalkora::testing
