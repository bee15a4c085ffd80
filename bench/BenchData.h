#pragma once

#include "costing/MachineRates.h"
#include "model/COrder.h"
#include "model/CPlantData.h"

#include <memory>
#include <string>

namespace kalkora::bench {

// Plant data of a machine shop with `machines` machines named "Maschine 0", "Maschine 1", …,
// their rates computed.
inline CPlantData benchPlant(int machines)
{
    CPlantData plant;
    plant.workDaysPerYear = 250;
    plant.hoursPerShift = 8;
    plant.rentPerSqmYear = 60;
    plant.interestRatePct = 6;
    plant.operatorVarRate12 = 25;
    plant.operatorFixedRate12 = 15;
    plant.computeHoursPerYear();
    for (int i = 0; i < machines; ++i) {
        auto machine = std::make_unique<CMachine>();
        machine->name = "Maschine " + std::to_string(i);
        machine->purchaseCost = 1000.0f * float(i % 500);
        machine->usefulLifeYears = 10;
        machine->floorAreaSqm = 12;
        computeMachineRates(plant, *machine);
        plant.machines.add(std::move(machine));
    }
    return plant;
}

// An order of `operations` operations: every third is bought in, the others run on one of the
// first `machines` machines of benchPlant in all three shift modes, with material.
inline COrder mixedOrder(int operations, int machines)
{
    COrder order;
    order.name = "Getriebewelle GW-40";
    order.remark = "Serie, Werkstoff 42CrMo4, Lieferung in zwei Teilen an den Kunden";
    order.quantityBase = 100;
    for (int i = 0; i < operations; ++i) {
        auto op = std::make_unique<COperation>();
        op->name = "Arbeitsgang " + std::to_string(i);
        op->isInternal = i % 3 == 0 ? 0 : 1;
        op->machineName = op->isInternal ? "Maschine " + std::to_string(i % machines) : "EXTERN";
        op->externalCostPerPiece = 1.5f;
        op->externalLotSize = 100;
        op->lotSize = 100;
        op->shiftMode = i % 3;
        op->setupTimeMin = 30;
        op->machineTimeMin = 2;
        op->operatorTimeMin = 1;
        op->machineUtilPct = 80;
        op->materialUtilPct = 50;
        op->materialWeightKg = 0.5f;
        op->materialPricePerKg = 2;
        order.operations.add(std::move(op));
    }
    return order;
}

} // namespace kalkora::bench
