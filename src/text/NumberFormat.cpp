#include "text/NumberFormat.h"

#include "text/RuntimeLocale.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

namespace kalkora::text {

namespace {

// A finite double as its exact decimal expansion: value = ±0.d1d2d3... × 10^point, with no
// leading and no trailing zeros in `digits`; zero has no digits.
struct Decimal {
    bool negative = false;
    std::string digits;
    int point = 0;
};

void stripTrailingZeros(Decimal& d)
{
    auto last = d.digits.find_last_not_of('0');
    d.digits.resize(last == std::string::npos ? 0 : last + 1);
}

// The exact value of a finite double. glibc prints "%.*f" exactly when the precision covers
// every fractional binary digit, which is at most 1074 decimals; the rounding is ours.
Decimal exactDecimal(double value)
{
    Decimal d;
    d.negative = std::signbit(value);
    double magnitude = std::fabs(value);
    if (magnitude == 0.0)
        return d;

    int exponent = 0;
    double fraction = std::frexp(magnitude, &exponent); // magnitude = fraction * 2^exponent
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53)); // exact, 53 bits
    int binaryExponent = exponent - 53 + std::countr_zero(mantissa); // value = odd * 2^binaryExponent
    int decimals = binaryExponent < 0 ? -binaryExponent : 0; // the expansion has exactly these decimals

    std::string buffer(static_cast<std::size_t>(decimals) + 330, '\0'); // at most 309 integer digits
    int length = std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, magnitude);
    buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);

    // Integer digits, then whatever the C library's locale uses as radix character, then the
    // fraction digits.
    std::size_t i = 0;
    while (i < buffer.size() && buffer[i] >= '0' && buffer[i] <= '9')
        d.digits += buffer[i++];
    d.point = static_cast<int>(d.digits.size());
    while (i < buffer.size() && !(buffer[i] >= '0' && buffer[i] <= '9'))
        ++i;
    for (; i < buffer.size(); ++i) {
        if (buffer[i] >= '0' && buffer[i] <= '9')
            d.digits += buffer[i];
    }

    auto first = d.digits.find_first_not_of('0');
    if (first == std::string::npos) {
        d.digits.clear();
        return d;
    }
    d.digits.erase(0, first);
    d.point -= static_cast<int>(first);
    stripTrailingZeros(d);
    return d;
}

// Keeps the first `keep` digits (counted from the first significant one; zero or negative
// keeps none) and rounds half away from zero. The expansion is exact, so the first dropped
// digit decides: 5 or more means at least half a unit.
void roundToDigits(Decimal& d, long long keep)
{
    if (keep >= static_cast<long long>(d.digits.size()))
        return;
    if (keep < 0) { // below half a unit of the last kept place
        d.digits.clear();
        return;
    }
    bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        std::size_t i = d.digits.size();
        while (i > 0 && d.digits[i - 1] == '9') {
            d.digits[i - 1] = '0';
            --i;
        }
        if (i == 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        } else {
            ++d.digits[i - 1];
        }
    }
    stripTrailingZeros(d);
}

// The digit worth 10^(point - 1 - index); '0' outside the significant digits.
char digitAt(const Decimal& d, long long index)
{
    if (index < 0 || index >= static_cast<long long>(d.digits.size()))
        return '0';
    return d.digits[static_cast<std::size_t>(index)];
}

// Fixed notation with exactly `decimals` fraction digits; `d` must already be rounded there.
std::string fixedText(const Decimal& d, int decimals)
{
    std::string out;
    if (d.negative)
        out += '-';
    if (d.digits.empty() || d.point <= 0) {
        out += '0';
    } else {
        for (long long i = 0; i < d.point; ++i)
            out += digitAt(d, i);
    }
    if (decimals > 0) {
        out += decimalSeparator();
        long long start = d.digits.empty() ? 0 : d.point;
        for (long long j = 0; j < decimals; ++j)
            out += d.digits.empty() ? '0' : digitAt(d, start + j);
    }
    return out;
}

// What exactDecimal and roundToDigits give for "%.*f", by integer arithmetic: the double is
// mantissa × 2^-shift, so value × 10^precision is exact in 128 bits for every value the
// costing prints, and its remainder decides the rounding. nullopt where it does not fit.
std::optional<Decimal> roundedFixed(double value, int precision)
{
    constexpr int maxPrecision = 18; // 10^18 × 2^53 < 2^113
    if (precision > maxPrecision)
        return std::nullopt;
    Decimal d;
    d.negative = std::signbit(value);
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - exponent;
    if (shift < -10)
        return std::nullopt;
    unsigned __int128 scaled = mantissa;
    for (int i = 0; i < precision; ++i)
        scaled *= 10;
    if (shift <= 0) {
        scaled <<= -shift;
    } else if (shift >= 120) {
        scaled = 0; // below half a unit of the last place: scaled < 2^113
    } else {
        const unsigned __int128 unit = static_cast<unsigned __int128>(1) << shift;
        const bool up = (scaled & (unit - 1)) >= unit / 2;
        scaled = (scaled >> shift) + (up ? 1 : 0);
    }
    for (; scaled > 0; scaled /= 10)
        d.digits.insert(d.digits.begin(), static_cast<char>('0' + static_cast<int>(scaled % 10)));
    d.point = static_cast<int>(d.digits.size()) - precision;
    stripTrailingZeros(d);
    if (d.digits.empty())
        d.point = 0;
    return d;
}

std::string pad(std::string text, int width)
{
    if (width >= 0) {
        if (text.size() < static_cast<std::size_t>(width))
            text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    } else {
        auto left = static_cast<std::size_t>(-static_cast<long long>(width));
        if (text.size() < left)
            text.append(left - text.size(), ' ');
    }
    return text;
}

std::string nonFiniteText(double value)
{
    if (std::isnan(value))
        return "nan";
    return value < 0 ? "-inf" : "inf";
}

} // namespace

std::string formatG(double value, int precision)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    if (precision < 0)
        precision = 6;
    if (precision == 0)
        precision = 1;

    Decimal d = exactDecimal(value);
    if (d.digits.empty())
        return d.negative ? "-0" : "0";
    roundToDigits(d, precision);
    int exponent = d.point - 1; // of the rounded value, as %e would print it

    std::string out;
    if (exponent >= -4 && exponent < precision) {
        // %f with precision - 1 - exponent decimals, trailing zeros (and a bare point) removed.
        long long decimals = static_cast<long long>(d.digits.size()) - d.point;
        return fixedText(d, decimals > 0 ? static_cast<int>(decimals) : 0);
    }
    if (d.negative)
        out += '-';
    out += d.digits[0];
    if (d.digits.size() > 1) {
        out += decimalSeparator();
        out.append(d.digits, 1);
    }
    out += 'e';
    out += exponent < 0 ? '-' : '+';
    std::string exponentDigits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (exponentDigits.size() < 3)
        exponentDigits.insert(0, 3 - exponentDigits.size(), '0');
    out += exponentDigits;
    return out;
}

std::string formatG6(double value)
{
    return formatG(value, 6);
}

std::string formatFixed(double value, int width, int precision)
{
    if (!std::isfinite(value))
        return pad(nonFiniteText(value), width);
    if (precision < 0)
        precision = 6;
    if (const std::optional<Decimal> rounded = roundedFixed(value, precision))
        return pad(fixedText(*rounded, precision), width);
    Decimal d = exactDecimal(value);
    if (!d.digits.empty())
        roundToDigits(d, static_cast<long long>(d.point) + precision);
    return pad(fixedText(d, precision), width);
}

std::string formatInt(std::int64_t value, int width)
{
    return pad(std::to_string(value), width);
}

} // namespace kalkora::text
