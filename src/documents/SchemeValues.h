#pragma once

#include "costing/SalesPrice.h"

#include <QString>

#include <optional>

namespace kalkora::documents {

// The values of the sales price scheme as the windows show and read them and the settings keep
// them.

// A value as it would be typed: "1000", "8,50", "-99,99", without grouping.
QString typedValue(std::int64_t hundredths);
template <typename Unit> QString typedValue(Hundredths<Unit> value)
{
    return typedValue(value.count());
}

// The value of a field as typed in a window, 0 when it is empty; nothing when it cannot be read
// or is out of range. German points between thousands are read: "1.000,00", for an amount also
// "1.000". In hundredths of the field's unit.
std::optional<std::int64_t> schemeValueOf(const SchemeField& field, const QString& typed);

// The values the field takes, as messages name them: "0,00 bis 99.999.999.999,99 €".
QString schemeRange(const SchemeField& field);

// Why schemeValueOf refuses `typed`: it names the field and says that the text cannot be read or
// that its number lies outside the range.
QString schemeRefusal(const SchemeField& field, const QString& typed);

// Says that Skonto and Provision leave no price (see discountsLeaveAPrice).
inline QString discountsMessage()
{
    return QStringLiteral("Kundenskonto und Vertreterprovision müssen zusammen unter 100 % bleiben.");
}

} // namespace kalkora::documents
