#include "model/COrder.h"

namespace kalkora {

void COrder::clear()
{
    name.clear();
    remark.clear();
    quantityBase = 0;
    operations.clear();
}

float COrder::materialDirectCost(std::int32_t i) const
{
    if (i < 0 || i > operations.count() - 1)
        return 0;
    const COperation& op = *operations.at(i);
    if (op.materialUtilPct == 0 || op.materialWeightKg == 0 || op.materialPricePerKg == 0)
        return 0;
    const float grossWeight = static_cast<float>(double(op.materialWeightKg) / op.materialUtilPct * 100);
    return static_cast<float>(double(grossWeight) * op.materialPricePerKg);
}

} // namespace kalkora
