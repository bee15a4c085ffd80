#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kalkora::text {

// scanf-style reading of the leading number of a text under the current runtime locale:
// leading blanks are skipped, the longest leading part that forms a number is taken and the
// rest is ignored. A text that does not start with a number yields nothing, and so does one
// whose number is followed directly by the other locale's decimal separator and a digit
// ("2.5" under German, "2,5" under the default locale), which would otherwise read as 2.

// "%lf": optional sign, digits with the locale's decimal separator, optional exponent.
// "inf", "nan" and hexadecimal forms are not numbers.
std::optional<double> scanDouble(std::string_view text);

// "%d": optional sign and decimal digits. A value outside int32 is unreadable.
std::optional<std::int32_t> scanInt(std::string_view text);

} // namespace kalkora::text
