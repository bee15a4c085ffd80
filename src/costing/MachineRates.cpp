#include "costing/MachineRates.h"

namespace kalkora {

namespace {

// A yearly amount spread over the productive hours; 0 where there are no hours.
float perHour(double yearlyAmount, float hours)
{
    return hours == 0 ? 0.0f : static_cast<float>(yearlyAmount / hours);
}

} // namespace

CMachine& computeMachineRates(const CPlantData& plantData, CMachine& machine)
{
    const bool hasUsefulLife = machine.usefulLifeYears != 0;
    const float energy = static_cast<float>(
        double(machine.installedPowerKw) * plantData.energyPricePerKwh * machine.powerUsagePct / 100);
    for (int k = 0; k < 3; ++k) {
        const float hours = plantData.hoursPerYear[k];
        const float depreciation = hasUsefulLife && hours != 0
            ? static_cast<float>(double(machine.purchaseCost) / machine.usefulLifeYears / hours)
            : 0.0f;
        const float interest = hours == 0
            ? 0.0f
            : static_cast<float>(double(machine.purchaseCost) * plantData.interestRatePct / hours / 100);
        const float space = perHour(double(plantData.rentPerSqmYear) * machine.floorAreaSqm, hours);
        machine.fixedRate[k] = static_cast<float>(double(depreciation) + interest + space);

        const float tools = perHour(machine.toolCostPerYear, hours);
        // Maintenance carries the same useful-life gate as depreciation; tools do not.
        const float maintenance = hasUsefulLife ? perHour(machine.maintenancePerYear, hours) : 0.0f;
        machine.variableRate[k] = static_cast<float>(double(energy) + tools + maintenance);
    }
    return machine;
}

void computeAllMachineRates(CPlantData& plantData)
{
    for (std::int32_t i = 0; i < plantData.machines.count(); ++i)
        computeMachineRates(plantData, *plantData.machines.at(i));
}

} // namespace kalkora
