#include "documents/QuantityList.h"

#include "costing/CostAnalysis.h"

#include <QStringList>

#include <algorithm>

namespace kalkora::documents {

QString quantityList(const std::vector<std::int32_t>& quantities)
{
    QStringList items;
    for (std::int32_t quantity : quantities) {
        items << QString::number(quantity);
    }
    return items.join(QStringLiteral(", "));
}

std::vector<std::int32_t> startingQuantities(std::int32_t quantityBase)
{
    std::vector<std::int32_t> quantities = defaultQuantities(quantityBase);
    std::erase_if(quantities, [](std::int32_t quantity) { return quantity < 1; });
    std::sort(quantities.begin(), quantities.end());
    quantities.erase(std::unique(quantities.begin(), quantities.end()), quantities.end());
    return quantities;
}

} // namespace kalkora::documents
