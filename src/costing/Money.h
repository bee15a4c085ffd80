#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalkora {

// Figures with two decimals, kept as whole hundredths so that prices are worked out exactly,
// never in floating point: amounts in cents of a euro, percentages in hundredths of a percent.
// The two are types of their own, so that neither is taken for the other.

// Digits, optionally one '.' or ',' with one to `decimals` digits after it, optionally a leading
// '-': with two decimals "8", "8.5", "-3,25" as a count of hundredths. Nothing else ("+1", " 1",
// ".5", "5.", "1e2", "8.500", "1.000,00").
std::optional<std::int64_t> parseScaled(std::string_view text, int decimals);
// Whether `text` has that form, however many digits it has: a number parseScaled refuses for its
// length alone is larger than any value allowed.
bool isScaledNumber(std::string_view text, int decimals);
inline std::optional<std::int64_t> parseHundredths(std::string_view text)
{
    return parseScaled(text, 2);
}

// `decimals` decimals with `decimalSeparator`; `groupSeparator` (none when 0) between thousands.
std::string formatScaled(std::int64_t count, int decimals, char decimalSeparator, char groupSeparator = 0);
// A price in ten-thousandths with as many decimals as it needs, at least two: 1,85, 0,0125.
std::string formatPrice(std::int64_t tenThousandths, char decimalSeparator);
inline std::string formatHundredths(std::int64_t count, char decimalSeparator, char groupSeparator = 0)
{
    return formatScaled(count, 2, decimalSeparator, groupSeparator);
}

template <typename Unit> class Hundredths {
public:
    constexpr Hundredths() = default;
    constexpr explicit Hundredths(std::int64_t count)
        : count_(count)
    {
    }

    constexpr std::int64_t count() const { return count_; }

    static std::optional<Hundredths> parse(std::string_view text)
    {
        const std::optional<std::int64_t> count = parseHundredths(text);
        return count ? std::optional(Hundredths(*count)) : std::nullopt;
    }
    std::string format(char decimalSeparator, char groupSeparator = 0) const
    {
        return formatHundredths(count_, decimalSeparator, groupSeparator);
    }

    auto operator<=>(const Hundredths&) const = default;

private:
    std::int64_t count_ = 0;
};

// Amounts while they are worked out: no product of two allowed values and a divisor overflows it.
using WideCents = __int128;

// Amounts are priced only below 10^13 cents (100 billion euro) in magnitude.
inline constexpr WideCents kPriceLimit = 10'000'000'000'000;
inline bool withinPriceLimit(WideCents amount)
{
    return amount > -kPriceLimit && amount < kPriceLimit;
}

// n ÷ d rounded half away from zero; d > 0.
inline WideCents roundedQuotient(WideCents n, WideCents d)
{
    const WideCents magnitude = (2 * (n < 0 ? -n : n) + d) / (2 * d);
    return n < 0 ? -magnitude : magnitude;
}

struct Euro;
struct PercentPoint;
using Money = Hundredths<Euro>; // whole cents
using Percent = Hundredths<PercentPoint>; // hundredths of a percent

// The one way from the costing's cost per piece (a double in euro) to cents: exactly as the
// report prints it, two decimals from the double's binary value, ties away from zero. Nothing
// when it is not finite or 10^12 € or more.
std::optional<Money> moneyOf(double euros);

} // namespace kalkora
