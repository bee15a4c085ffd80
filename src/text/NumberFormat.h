#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kalkora::text {

// printf-style formatting as the Windows runtime does it, under the current runtime locale.
// Ties are rounded away from zero from the exact binary value; the %g exponent has a sign and
// at least three digits; non-finite values print as "inf", "-inf" or "nan".

// "%.*g" with precision 6, as the numeric fields of the dialogs show a float.
std::string formatG6(double value);

// "%.*g" with any precision (0 counts as 1), the general form behind formatG6.
std::string formatG(double value, int precision);

// "%W.Pf": at least `width` characters, right-aligned, `precision` decimals.
// Width 0 is the plain "%.Pf". A negative width left-aligns in -width characters (printf's
// "*" with a negative argument); a negative precision means 6, as in printf.
std::string formatFixed(double value, int width, int precision);

// "%Wi" / "%Wd": at least `width` characters, right-aligned. Width 0 is the plain "%i";
// a negative width left-aligns.
std::string formatInt(std::int64_t value, int width = 0);

// How the figures of a table are written for reading: the decimal separator and the one between
// thousands (0: none). Passed where the text is made, so that a window and a file written at the
// same time can differ.
struct NumberStyle {
    char decimal = '.';
    char group = 0;

    // The printed tables: two decimals with the locale's separator, no grouping.
    static NumberStyle printed(bool german) { return { german ? ',' : '.', 0 }; }
    // Decimal comma and points between thousands, as the windows show figures.
    static NumberStyle german() { return { ',', '.' }; }
};

// `number` ("-1234567,5", "inf", "12") with `style.group` between the thousands of the digits
// before `style.decimal`; unchanged without a group separator.
std::string groupThousands(std::string number, NumberStyle style);

// A whole number as German texts write it: "2.147.483.647".
inline std::string germanInt(std::int64_t value)
{
    return groupThousands(std::to_string(value), NumberStyle::german());
}

// Whether `digits` have German points between their thousands: "1.000", "12.345.678"; not "1000",
// "1.00" or "1000.000".
bool isGermanGrouped(std::string_view digits);

// "%.2f" in `style`: the runtime's rounding, the style's separators.
std::string formatTwoDecimals(double value, NumberStyle style);

// The same two forms appended to `out`, for long texts built without temporaries.
void appendFixed(std::string& out, double value, int width, int precision);
void appendInt(std::string& out, std::int64_t value, int width = 0);

} // namespace kalkora::text
