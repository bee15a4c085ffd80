#include "model/CPlantData.h"

namespace kalkora {

void CPlantData::computeHoursPerYear()
{
    for (int k = 1; k <= 3; ++k)
        hoursPerYear[k - 1] = static_cast<float>(double(workDaysPerYear) * double(hoursPerShift) * k);
}

const CMachine* CPlantData::findMachine(std::string_view name) const
{
    for (std::int32_t i = 0; i < machines.count(); ++i) {
        if (machines.at(i)->name == name)
            return machines.at(i);
    }
    return nullptr;
}

} // namespace kalkora
