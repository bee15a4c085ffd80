#include "costing/Money.h"

#include "text/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace kalkora {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Far more than any allowed value has, few enough that no count overflows.
constexpr std::size_t kMaxDigits = 17;

} // namespace

std::optional<std::int64_t> parseScaled(std::string_view text, int decimals)
{
    const auto places = std::size_t(decimals);
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    const std::size_t separator = text.find_first_of(".,");
    const std::string_view integer = text.substr(0, separator);
    const std::string_view fraction
        = separator == std::string_view::npos ? std::string_view() : text.substr(separator + 1);
    const bool hasFraction = separator != std::string_view::npos;
    if (integer.empty() || integer.size() > kMaxDigits - places || (hasFraction && fraction.empty())
        || fraction.size() > places)
        return std::nullopt;
    std::int64_t count = 0;
    for (const char c : integer) {
        if (!isDigit(c))
            return std::nullopt;
        count = count * 10 + (c - '0');
    }
    for (std::size_t i = 0; i < places; ++i) {
        const char c = i < fraction.size() ? fraction[i] : '0';
        if (!isDigit(c))
            return std::nullopt;
        count = count * 10 + (c - '0');
    }
    return negative ? -count : count;
}

bool isScaledNumber(std::string_view text, int decimals)
{
    if (text.starts_with('-'))
        text.remove_prefix(1);
    const std::size_t separator = std::min(text.find_first_of(".,"), text.size());
    const std::string_view integer = text.substr(0, separator);
    // The digits before the separator read as one, whatever their number.
    std::string shortened = "0";
    shortened += text.substr(separator);
    return !integer.empty() && integer.find_first_not_of("0123456789") == std::string_view::npos
        && parseScaled(shortened, decimals);
}

std::string formatScaled(std::int64_t count, int decimals, char decimalSeparator, char groupSeparator)
{
    // The magnitude as unsigned, so that the smallest int64 formats too.
    const std::uint64_t magnitude = count < 0 ? 0 - std::uint64_t(count) : std::uint64_t(count);
    std::uint64_t unit = 1;
    for (int i = 0; i < decimals; ++i)
        unit *= 10;
    const std::string fraction = std::to_string(magnitude % unit + unit).substr(1);
    std::string out = (count < 0 ? "-" : "") + std::to_string(magnitude / unit);
    out += decimalSeparator;
    out += fraction;
    return text::groupThousands(std::move(out), { decimalSeparator, groupSeparator });
}

std::string formatPrice(std::int64_t tenThousandths, char decimalSeparator)
{
    std::string text = formatScaled(tenThousandths, 4, decimalSeparator);
    for (int i = 0; i < 2 && text.back() == '0'; ++i)
        text.pop_back();
    return text;
}

std::optional<Money> moneyOf(double euros)
{
    if (!std::isfinite(euros) || std::fabs(euros) >= 1e12)
        return std::nullopt;
    const std::string printed = text::formatFixed(euros, 0, 2);
    std::int64_t cents = 0;
    for (const char c : printed) {
        if (c >= '0' && c <= '9')
            cents = cents * 10 + (c - '0');
    }
    return Money(printed.front() == '-' ? -cents : cents);
}

} // namespace kalkora
