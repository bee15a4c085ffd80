#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalkora {

// A whole number of hundredths: the cents of an amount in euro, or the hundredths of a percent.
// Prices are worked out in these, never in floating point, so that every figure is exact.
class Hundredths {
public:
    constexpr Hundredths() = default;
    constexpr explicit Hundredths(std::int64_t count)
        : count_(count)
    {
    }

    constexpr std::int64_t count() const { return count_; }

    // Digits, optionally one '.' or ',' with one or two digits after it, optionally a leading
    // '-': "8", "8.5", "-3,25". Nothing else ("+1", " 1", ".5", "5.", "1e2", "8.500", "1.000,00").
    static std::optional<Hundredths> parse(std::string_view text);

    // Two decimals with `decimalSeparator`; `groupSeparator` (none when 0) between thousands.
    std::string format(char decimalSeparator, char groupSeparator = 0) const;

    auto operator<=>(const Hundredths&) const = default;

private:
    std::int64_t count_ = 0;
};

} // namespace kalkora
