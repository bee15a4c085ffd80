#pragma once

#include "costing/SalesPrice.h"

#include <array>

namespace kalkora::ui {

// The labels of the scheme's fields in the order of kSchemeFields, without the colon. Both windows
// that edit a scheme use them, so a field answers to the same keyboard letter in each; the letters
// leave those of the quote window's buttons free.
inline constexpr std::array<const char*, kSchemeFields.size()> kSchemeLabels { "Ver&waltungsgemeinkosten",
    "Vertrie&bsgemeinkosten", "&Gewinnzuschlag", "Kundens&konto", "Vertreterprovisi&on", "Kunden&rabatt",
    "E&inmalkosten", "So&ndereinzelkosten Vertrieb" };

} // namespace kalkora::ui
