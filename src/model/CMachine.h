#pragma once

#include "model/OwningList.h"

#include <string>

namespace kalkora {

// One machine of the master data, identified by its name. The six rates are derived by
// computeMachineRates (src/costing) and never stored in a file.
struct CMachine {
    std::string name; // Windows-1252
    float purchaseCost = 0;
    float usefulLifeYears = 0;
    float installedPowerKw = 0;
    float floorAreaSqm = 0;
    float toolCostPerYear = 0;
    float maintenancePerYear = 0;
    float powerUsagePct = 0;
    float fixedRate[3] = { 0, 0, 0 };
    float variableRate[3] = { 0, 0, 0 };

    bool operator==(const CMachine&) const = default;
};

using CMachineList = OwningList<CMachine>;

} // namespace kalkora
