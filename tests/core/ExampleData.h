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
    return { .name = name,
        .purchaseCost = 120000,
        .usefulLifeYears = 10,
        .installedPowerKw = 20,
        .floorAreaSqm = 15,
        .toolCostPerYear = 3000,
        .maintenancePerYear = 2000,
        .powerUsagePct = 50 };
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
    return std::make_unique<COperation>(COperation { .name = name,
        .machineName = machineName,
        .setupTimeMin = 30,
        .lotSize = 100,
        .machineTimeMin = 2,
        .operatorTimeMin = 1,
        .materialUtilPct = 50,
        .machineUtilPct = 80,
        .materialWeightKg = 0.5f,
        .materialPricePerKg = 2 });
}

inline std::unique_ptr<COperation> externalOperation(
    const std::string& name = "Haerten", float costPerPiece = 1.5f, std::int32_t lotSize = 100)
{
    return std::make_unique<COperation>(COperation { .isInternal = 0,
        .name = name,
        .externalCostPerPiece = costPerPiece,
        .externalLotSize = lotSize,
        .machineName = "EXTERN" });
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
