#include "text/NumberScan.h"

#include "TextTestSupport.h"
#include "text/NumberFormat.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace kalkora::text {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
const std::optional<double> unreadable;

// "%lf" in the default and the German locale: the other separator followed by a digit makes the
// number unreadable; hexadecimal forms, inf and nan are no numbers (but the leading 0 of 0x10
// is); out of range is what strtod returns; 1e-320 is subnormal.
TEST_F(TextTest, ScanDoubleInBothLocales)
{
    const struct {
        const char* text;
        std::optional<double> inDefault, inGerman;
    } cases[] = { { "1,5e+006", unreadable, 1.5e6 }, { "1.5e+006", 1.5e6, unreadable },
        { "2,5.3", unreadable, unreadable }, { "1e5,3", unreadable, 1e5 }, { "2.5", 2.5, unreadable },
        { "2,5", unreadable, 2.5 }, { "1e3", 1000.0, 1000.0 }, { "1e-2", 0.01, 0.01 }, { "1e", 1.0, 1.0 },
        { "1e+", 1.0, 1.0 }, { "1e-x", 1.0, 1.0 }, { "7 Stück", 7.0, 7.0 }, { "\t\n\v\f\r 42", 42.0, 42.0 },
        { "-3", -3.0, -3.0 }, { " -0,25 EUR", unreadable, -0.25 }, { " -0.25 EUR", -0.25, unreadable },
        { ".5", 0.5, unreadable }, { ",5", unreadable, 0.5 }, { "5.", 5.0, 5.0 }, { "5,", 5.0, 5.0 },
        { "+.5", 0.5, unreadable }, { "-,5", unreadable, -0.5 }, { "0", 0.0, 0.0 }, { "0x10", 0.0, 0.0 },
        { "1e999", inf, inf }, { "-1e999", -inf, -inf }, { "-1e-350", -0.0, -0.0 }, { "1e-320", 1e-320, 1e-320 },
        { "1.7976931348623157e308", DBL_MAX, unreadable }, { "", unreadable, unreadable },
        { "   ", unreadable, unreadable }, { "-", unreadable, unreadable }, { ".", unreadable, unreadable },
        { ",", unreadable, unreadable }, { "- 5", unreadable, unreadable }, { "e5", unreadable, unreadable },
        { "abc", unreadable, unreadable }, { "inf", unreadable, unreadable }, { "nan", unreadable, unreadable },
        { "infinity", unreadable, unreadable }, { "x10", unreadable, unreadable } };
    for (const auto locale : bothLocales) {
        setRuntimeLocale(locale);
        for (const auto& c : cases) {
            const auto expected = locale == RuntimeLocale::German ? c.inGerman : c.inDefault;
            const auto got = scanDouble(c.text);
            ASSERT_EQ(got.has_value(), expected.has_value()) << localeName(locale) << " \"" << c.text << "\"";
            if (expected) {
                EXPECT_EQ(*got, *expected) << localeName(locale) << " \"" << c.text << "\"";
                EXPECT_EQ(std::signbit(*got), std::signbit(*expected)) << localeName(locale) << " \"" << c.text << "\"";
            }
        }
    }
}

// Correctly rounded however long the digits or the exponent; 9007199254740993 is a tie that
// goes to the even double, 2.4703282292062328e-324 is just above half the smallest subnormal.
TEST_F(TextTest, ScanDoubleIsCorrectlyRounded)
{
    setRuntimeLocale(RuntimeLocale::German);
    const std::pair<std::string, double> cases[] = { { "0,1", 0.1 }, { "2,675", 2.675 },
        { "9007199254740993", 9007199254740992.0 }, { "9007199254740993,0000000001", 9007199254740994.0 },
        { "0,000000000000000000000000000000000000001e39", 1.0 }, { std::string(500, '0') + "1,5", 1.5 },
        { "1" + std::string(400, '0') + "e-400", 1.0 }, { "4,9406564584124654e-324", 4.9406564584124654e-324 },
        { "2,4703282292062328e-324", 4.9406564584124654e-324 }, { "2e-324", 0.0 }, { "1e99999999999999999999", inf },
        { "1e-99999999999999999999", 0.0 }, { "0e99999999999999999999", 0.0 } };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(scanDouble(text), value) << text;
}

// What the dialogs show they read back: "%.17g" round-trips every double, in both locales.
TEST_F(TextTest, FormatAndScanRoundTrip)
{
    std::mt19937_64 random(1999);
    for (const auto locale : bothLocales) {
        setRuntimeLocale(locale);
        for (int i = 0; i < 20000; ++i) {
            const std::uint64_t bits = random();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            if (std::isfinite(value)) {
                ASSERT_EQ(scanDouble(formatG(value, 17)), value) << formatG(value, 17);
            }
            const auto singleBits = static_cast<std::uint32_t>(bits >> 32);
            float single;
            std::memcpy(&single, &singleBits, sizeof single);
            if (std::isfinite(single)) {
                ASSERT_EQ(static_cast<float>(*scanDouble(formatG(single, 9))), single) << formatG(single, 9);
            }
        }
        EXPECT_EQ(scanDouble(formatG6(123.456789)), 123.457);
    }
}

// "%d": the other locale's decimal separator followed by a digit makes the number unreadable;
// out of int32 is unreadable.
TEST_F(TextTest, ScanInt)
{
    const struct {
        const char* text;
        std::optional<std::int32_t> inDefault, inGerman;
    } cases[] = { { "42", 42, 42 }, { "  -17abc", -17, -17 }, { "\t+5", 5, 5 }, { "-0", 0, 0 }, { "007", 7, 7 },
        { "1,5", std::nullopt, 1 }, { "1.5", 1, std::nullopt }, { "1e3", 1, 1 }, { "0x10", 0, 0 },
        { "2147483647", 2147483647, 2147483647 },
        { "-2147483648", std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::min() },
        { "2147483648", std::nullopt, std::nullopt }, { "-2147483649", std::nullopt, std::nullopt },
        { "99999999999999999999999", std::nullopt, std::nullopt }, { "00000000000000000000042", 42, 42 },
        { "", std::nullopt, std::nullopt }, { "-", std::nullopt, std::nullopt }, { "- 5", std::nullopt, std::nullopt },
        { "x", std::nullopt, std::nullopt }, { ",5", std::nullopt, std::nullopt } };
    for (const auto locale : bothLocales) {
        setRuntimeLocale(locale);
        for (const auto& c : cases)
            EXPECT_EQ(scanInt(c.text), locale == RuntimeLocale::German ? c.inGerman : c.inDefault)
                << localeName(locale) << " \"" << c.text << "\"";
    }
}

} // namespace
} // namespace kalkora::text
