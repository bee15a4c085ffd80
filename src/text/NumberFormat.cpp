#include "text/NumberFormat.h"

#include "text/RuntimeLocale.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

namespace kalkora::text {

namespace {

// std::to_chars rounds correctly from the exact binary value but breaks exact ties to even.
// The runtime this program follows rounds them away from zero, so ties are found from the
// binary form and printed exactly with one digit more, then rounded up by hand.

// A finite non-zero double as odd × 2^exponent.
struct Binary {
    std::uint64_t odd;
    long long exponent;
};

Binary binaryOf(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t(1) << 52) - 1);
    long long exponent = -1074; // subnormal
    if (biased != 0) {
        mantissa |= std::uint64_t(1) << 52;
        exponent = biased - 1075;
    }
    const int zeros = std::countr_zero(mantissa);
    return { mantissa >> zeros, exponent + zeros };
}

constexpr std::array<std::uint64_t, 23> powersOfFive = [] {
    std::array<std::uint64_t, 23> powers {};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 5;
    return powers;
}();

// Room for one formatted number: on the stack for every usual precision.
class Scratch {
public:
    explicit Scratch(std::size_t size)
    {
        if (size > sizeof local)
            heap.resize(size);
    }
    char* begin() { return heap.empty() ? local : heap.data(); }
    char* end() { return heap.empty() ? local + sizeof local : heap.data() + heap.size(); }

private:
    char local[512];
    std::vector<char> heap;
};

// Adds one unit in the last digit of the digits (and a point) in [first, last); a carry out of
// the first digit inserts a 1 in front, so there must be room for one more character.
// Returns the new end.
char* incrementDigits(char* first, char* last)
{
    for (char* p = last; p != first;) {
        --p;
        if (*p == '.')
            continue;
        if (*p != '9') {
            ++*p;
            return last;
        }
        *p = '0';
    }
    std::memmove(first + 1, first, static_cast<std::size_t>(last - first));
    *first = '1';
    return last + 1;
}

// "%.Pf" of a finite value into `scratch` (at least 316 + precision characters), rounded half
// away from zero, with the runtime locale's separator. Returns the end.
char* fixedText(Scratch& scratch, double value, int precision)
{
    char* const first = scratch.begin();
    const bool tie = value != 0 && binaryOf(value).exponent == -(static_cast<long long>(precision) + 1);
    char* end = nullptr;
    if (!tie) {
        end = std::to_chars(first, scratch.end(), value, std::chars_format::fixed, precision).ptr;
    } else {
        // The exact value ends in a 5 one place after the last printed digit.
        end = std::to_chars(first, scratch.end(), value, std::chars_format::fixed, precision + 1).ptr - 1;
        if (precision == 0)
            --end; // the point
        end = incrementDigits(first + (value < 0 ? 1 : 0), end);
    }
    if (precision > 0)
        end[-precision - 1] = decimalSeparator();
    return end;
}

// The value rounded half away from zero to `precision` significant digits, as %e shows it:
// digits without trailing zeros, and the decimal exponent of the first one.
struct Significant {
    std::string digits;
    int exponent = 0;
};

// Reads the output of to_chars in scientific form ("-d.ddde+XX").
Significant parseScientific(const char* first, const char* last)
{
    Significant s;
    const char* p = first + (*first == '-' ? 1 : 0);
    for (; p != last && *p != 'e'; ++p) {
        if (*p != '.')
            s.digits += *p;
    }
    const bool negativeExponent = p + 1 != last && p[1] == '-';
    std::from_chars(p + 2, last, s.exponent);
    if (negativeExponent)
        s.exponent = -s.exponent;
    return s;
}

Significant roundSignificant(double value, int precision)
{
    Scratch scratch(static_cast<std::size_t>(precision) + 16);
    // With one digit more the print of a tie is exact, and its exponent is the value's own.
    const char* end
        = std::to_chars(scratch.begin(), scratch.end(), value, std::chars_format::scientific, precision).ptr;
    Significant s = parseScientific(scratch.begin(), end);
    // A tie has its 5 at 10^(exponent - precision), the lowest bit of the binary value; for an
    // integer that digit is the last non-zero one when 5^(1 + binary exponent) divides the odd part.
    const Binary binary = binaryOf(value);
    const bool tie = s.exponent - static_cast<long long>(precision) == binary.exponent
        && (binary.exponent < 0
            || (binary.exponent + 1 < static_cast<long long>(powersOfFive.size())
                && binary.odd % powersOfFive[static_cast<std::size_t>(binary.exponent + 1)] == 0));
    if (tie) {
        s.digits.pop_back();
        s.digits.push_back('\0'); // room for a carry
        char* digits = s.digits.data();
        if (incrementDigits(digits, digits + s.digits.size() - 1) != digits + s.digits.size() - 1)
            ++s.exponent;
        s.digits.resize(static_cast<std::size_t>(precision));
    } else {
        end = std::to_chars(scratch.begin(), scratch.end(), value, std::chars_format::scientific, precision - 1).ptr;
        s = parseScientific(scratch.begin(), end);
    }
    const auto last = s.digits.find_last_not_of('0');
    s.digits.resize(last == std::string::npos ? 1 : last + 1);
    return s;
}

void appendPadded(std::string& out, std::string_view text, int width)
{
    const auto size = static_cast<long long>(text.size());
    const long long w = width;
    if (w > size)
        out.append(static_cast<std::size_t>(w - size), ' ');
    out += text;
    if (-w > size)
        out.append(static_cast<std::size_t>(-w - size), ' ');
}

std::string_view nonFiniteText(double value)
{
    if (std::isnan(value))
        return "nan";
    return value < 0 ? "-inf" : "inf";
}

} // namespace

std::string formatG(double value, int precision)
{
    if (!std::isfinite(value))
        return std::string(nonFiniteText(value));
    if (precision < 0)
        precision = 6;
    if (precision == 0)
        precision = 1;
    if (value == 0)
        return std::signbit(value) ? "-0" : "0";

    const Significant s = roundSignificant(value, precision);
    const auto count = static_cast<int>(s.digits.size());
    std::string out;
    if (value < 0)
        out += '-';
    if (s.exponent >= -4 && s.exponent < precision) {
        // %f with precision - 1 - exponent decimals, trailing zeros (and a bare point) removed.
        if (s.exponent < 0) {
            out += '0';
            out += decimalSeparator();
            out.append(static_cast<std::size_t>(-s.exponent - 1), '0');
            out += s.digits;
        } else {
            for (int i = 0; i <= s.exponent; ++i)
                out += i < count ? s.digits[static_cast<std::size_t>(i)] : '0';
            if (count > s.exponent + 1) {
                out += decimalSeparator();
                out.append(s.digits, static_cast<std::size_t>(s.exponent) + 1);
            }
        }
        return out;
    }
    out += s.digits[0];
    if (count > 1) {
        out += decimalSeparator();
        out.append(s.digits, 1);
    }
    out += 'e';
    out += s.exponent < 0 ? '-' : '+';
    const std::string exponentDigits = std::to_string(std::abs(s.exponent));
    if (exponentDigits.size() < 3)
        out.append(3 - exponentDigits.size(), '0');
    out += exponentDigits;
    return out;
}

std::string formatG6(double value)
{
    return formatG(value, 6);
}

void appendFixed(std::string& out, double value, int width, int precision)
{
    if (!std::isfinite(value)) {
        appendPadded(out, nonFiniteText(value), width);
        return;
    }
    if (precision < 0)
        precision = 6;
    // A sign, 309 integer digits, the point, one decimal more than asked for and a carry.
    Scratch scratch(static_cast<std::size_t>(precision) + 316);
    const char* end = fixedText(scratch, value, precision);
    appendPadded(out, std::string_view(scratch.begin(), static_cast<std::size_t>(end - scratch.begin())), width);
}

std::string formatFixed(double value, int width, int precision)
{
    std::string out;
    appendFixed(out, value, width, precision);
    return out;
}

void appendInt(std::string& out, std::int64_t value, int width)
{
    char buffer[24];
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    appendPadded(out, std::string_view(buffer, static_cast<std::size_t>(end - buffer)), width);
}

std::string formatInt(std::int64_t value, int width)
{
    std::string out;
    appendInt(out, value, width);
    return out;
}

std::string groupThousands(std::string number, NumberStyle style)
{
    if (style.group == 0)
        return number;
    const std::size_t start = !number.empty() && number.front() == '-' ? 1 : 0;
    const std::size_t decimal = number.find(style.decimal);
    const std::size_t end = decimal == std::string::npos ? number.size() : decimal;
    if (number.find_first_not_of("0123456789", start) < end)
        return number; // "inf", "nan": nothing to group
    for (std::size_t at = end; at > start + 3; at -= 3)
        number.insert(at - 3, 1, style.group);
    return number;
}

bool isGermanGrouped(std::string_view digits)
{
    const std::size_t first = digits.find('.');
    if (first == 0 || first > 3 || (digits.size() - first) % 4 != 0)
        return false;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const bool point = i >= first && (i - first) % 4 == 0;
        if (point ? digits[i] != '.' : digits[i] < '0' || digits[i] > '9')
            return false;
    }
    return true;
}

std::string formatTwoDecimals(double value, NumberStyle style)
{
    std::string number = formatFixed(value, 0, 2);
    if (std::isfinite(value))
        number[number.size() - 3] = style.decimal;
    return groupThousands(std::move(number), style);
}

} // namespace kalkora::text
