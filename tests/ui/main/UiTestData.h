#pragma once

#include "WindowTest.h"
#include "costing/MachineRates.h"
#include "model/COrder.h"
#include "model/CPlantData.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace kalkora::ui::test {

inline std::unique_ptr<CMachine> machine(const std::string& name, float purchaseCost = 100000)
{
    auto m = std::make_unique<CMachine>();
    m->name = name;
    m->purchaseCost = purchaseCost;
    m->usefulLifeYears = 10;
    m->installedPowerKw = 20;
    m->powerUsagePct = 50;
    m->floorAreaSqm = 15;
    return m;
}

// Plant data with the named machines, in this order, and their rates computed.
inline void fillPlant(CPlantData& plant, const std::vector<std::string>& machineNames)
{
    setExamplePlantValues(plant);
    plant.machines.clear();
    for (const std::string& name : machineNames) {
        auto m = machine(name);
        computeMachineRates(plant, *m);
        plant.machines.add(std::move(m));
    }
}

inline std::unique_ptr<COperation> internalOperation(const std::string& name, const std::string& machineName)
{
    auto op = std::make_unique<COperation>();
    op->name = name;
    op->machineName = machineName;
    op->lotSize = 100;
    op->setupTimeMin = 30;
    op->machineTimeMin = 2;
    op->operatorTimeMin = 1.5f;
    op->machineUtilPct = 80;
    op->materialUtilPct = 90;
    op->materialWeightKg = 0.5f;
    op->materialPricePerKg = 2;
    return op;
}

inline std::unique_ptr<COperation> externalOperation(const std::string& name, float cost, int lotSize)
{
    auto op = std::make_unique<COperation>();
    op->isInternal = 0;
    op->name = name;
    op->machineName = "EXTERN";
    op->externalCostPerPiece = cost;
    op->externalLotSize = lotSize;
    return op;
}

} // namespace kalkora::ui::test
