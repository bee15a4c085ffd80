#pragma once

#include "model/CPlantData.h"

namespace kalkora {

// Fills the machine's six hourly rates from the plant data; plantData.hoursPerYear must be current.
CMachine& computeMachineRates(const CPlantData& plantData, CMachine& machine);

// Recomputes the rates of every machine, as after loading master data.
void computeAllMachineRates(CPlantData& plantData);

} // namespace kalkora
