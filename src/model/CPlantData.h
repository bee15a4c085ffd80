#pragma once

#include "model/CMachine.h"

#include <cstdint>
#include <string_view>

namespace kalkora {

// The master data: plant-wide values, the derived hours per year and the machines.
class CPlantData {
public:
    float rentPerSqmYear = 0;
    float energyPricePerKwh = 0;
    float hoursPerShift = 0;
    std::int32_t workDaysPerYear = 0;
    float interestRatePct = 0;
    float operatorVarRate12 = 0;
    float operatorFixedRate12 = 0;
    float operatorVarRate3 = 0;
    float operatorFixedRate3 = 0;
    float overheadExternalPct = 0;
    float overheadMaterialPct = 0;
    float hoursPerYear[3] = { 0, 0, 0 }; // derived, never stored in a file
    CMachineList machines;

    void computeHoursPerYear();
    // First machine whose name equals `name` byte for byte, or null.
    const CMachine* findMachine(std::string_view name) const;
};

} // namespace kalkora
