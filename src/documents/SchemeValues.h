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

// The value of a field, 0 when it is empty; nothing when it cannot be read or is out of range.
// In hundredths of the field's unit.
std::optional<std::int64_t> schemeValueOf(const SchemeField& field, const QString& typed);

// Names the field and what it takes.
QString schemeRangeMessage(const SchemeField& field);

// Says that Skonto and Provision leave no price (see discountsLeaveAPrice).
inline QString discountsMessage()
{
    return QStringLiteral("Kundenskonto und Vertreterprovision müssen zusammen unter 100 % bleiben.");
}

} // namespace kalkora::documents
