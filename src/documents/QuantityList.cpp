#include "documents/QuantityList.h"

#include "costing/CostAnalysis.h"

#include <QRegularExpression>
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

QString withoutGrouping(const QString& typed)
{
    static const QRegularExpression grouped(QStringLiteral("(?<![\\d.])(\\d{1,3}(?:\\.\\d{3})+)(?![\\d.])"));
    QString plain = typed;
    QRegularExpressionMatchIterator found = grouped.globalMatch(typed);
    QList<QRegularExpressionMatch> matches;
    while (found.hasNext()) {
        matches.prepend(found.next());
    }
    for (const QRegularExpressionMatch& match : matches) {
        plain.replace(match.capturedStart(1), match.capturedLength(1), match.captured(1).remove(QLatin1Char('.')));
    }
    return plain;
}

} // namespace kalkora::documents
