#include "text/NumberScan.h"

#include "text/RuntimeLocale.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace kalkora::text {

namespace {

bool isBlank(char c)
{
    // isspace of the "C" locale, independent of any locale set in the process.
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipBlanks(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return i;
}

// Takes an optional sign at text[i]; true for a minus.
bool takeSign(std::string_view text, std::size_t& i)
{
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        return text[i++] == '-';
    return false;
}

// Takes the mantissa digits, without the decimal separator, and counts those before it. A
// separator is taken only when a digit comes before or after it.
std::string takeMantissa(std::string_view text, std::size_t& i, std::size_t& integerDigits)
{
    const char separator = decimalSeparator();
    std::string digits;
    integerDigits = 0;
    while (i < text.size() && isDigit(text[i])) {
        digits += text[i++];
        ++integerDigits;
    }
    if (i < text.size() && text[i] == separator) {
        std::size_t j = i + 1;
        while (j < text.size() && isDigit(text[j]))
            digits += text[j++];
        if (!digits.empty())
            i = j;
    }
    return digits;
}

// Takes the optional exponent at text[i], 0 without one; "1e" and "1e+" stop before the 'e'.
// Saturated far beyond any double.
long long takeExponent(std::string_view text, std::size_t& i)
{
    if (i >= text.size() || (text[i] != 'e' && text[i] != 'E'))
        return 0;
    std::size_t j = i + 1;
    const bool negative = takeSign(text, j);
    if (j >= text.size() || !isDigit(text[j]))
        return 0;
    long long exponent = 0;
    for (; j < text.size() && isDigit(text[j]); ++j) {
        if (exponent < 1'000'000'000)
            exponent = exponent * 10 + (text[j] - '0');
    }
    i = j;
    return negative ? -exponent : exponent;
}

// A number typed for the other locale ("2.5" under German) must not read as its integer part.
bool runsIntoOtherSeparator(std::string_view text, std::size_t i)
{
    const char other = decimalSeparator() == ',' ? '.' : ',';
    return i + 1 < text.size() && text[i] == other && isDigit(text[i + 1]);
}

// The double nearest to ±0.D × 10^scale, rounded as strtod does, where D are the mantissa
// digits and `scale` counts the integer digits plus the exponent.
std::optional<double> toDouble(bool negative, const std::string& digits, long long scale)
{
    const double zero = negative ? -0.0 : 0.0;
    const double infinity
        = negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();

    // Normalise to 0.D × 10^E with D free of leading and trailing zeros.
    auto first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return zero;
    auto last = digits.find_last_not_of('0');
    scale -= static_cast<long long>(first);
    if (scale > 400) // at least 10^399
        return infinity;
    if (scale < -400) // below 10^-400, far under half the smallest subnormal
        return zero;

    std::string normalised = negative ? "-0." : "0.";
    normalised.append(digits, first, last - first + 1);
    normalised += 'e';
    normalised += std::to_string(scale);

    double value = 0.0;
    auto [end, error] = std::from_chars(normalised.data(), normalised.data() + normalised.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range)
        return scale > 0 ? infinity : zero; // strtod's HUGE_VAL or 0
    if (error != std::errc())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> scanDouble(std::string_view text)
{
    std::size_t i = skipBlanks(text);
    const bool negative = takeSign(text, i);
    std::size_t integerDigits = 0;
    const std::string digits = takeMantissa(text, i, integerDigits);
    if (digits.empty())
        return std::nullopt;
    const long long exponent = takeExponent(text, i);
    if (runsIntoOtherSeparator(text, i))
        return std::nullopt;
    return toDouble(negative, digits, exponent + static_cast<long long>(integerDigits));
}

std::optional<std::int32_t> scanInt(std::string_view text)
{
    std::size_t i = skipBlanks(text);
    const bool negative = takeSign(text, i);
    if (i >= text.size() || !isDigit(text[i]))
        return std::nullopt;

    const std::int64_t limit = negative ? std::int64_t(1) << 31 : (std::int64_t(1) << 31) - 1;
    std::int64_t magnitude = 0;
    bool overflow = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) {
            overflow = true;
            magnitude = limit + 1; // keep the accumulator bounded
        }
    }
    if (overflow || runsIntoOtherSeparator(text, i))
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace kalkora::text
