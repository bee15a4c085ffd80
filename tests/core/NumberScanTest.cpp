#include "text/NumberScan.h"

#include "Golden.h"
#include "TextTestSupport.h"
#include "text/NumberFormat.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

namespace kalkora::text {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

// Each text and what scanDouble ("%.17g") and scanInt read from it in the default and the German
// locale, "-" where unreadable, are stored beside the tests. The other locale's separator followed
// by a digit makes a number unreadable; hexadecimal forms, inf and nan are no numbers (but the
// leading 0 of 0x10 is); out of range is what strtod returns for a double, unreadable for an
// int32; 1e-320 is subnormal.
TEST_F(TextTest, ScanDoubleAndIntInBothLocales)
{
    const char* const texts[] = { "1,5e+006", "1.5e+006", "2,5.3", "2.x", "1e5,3", "2.5", "2,5", "1,5", "1.5", "1e3",
        "1e-2", "1e", "1e+", "1e-x", "7 Stk.", "42", "\t\n\v\f\r 42", "  -17abc", "\t+5", "-3", "-0", "007",
        " -0,25 EUR", " -0.25 EUR", ".5", ",5", "5.", "5,", "+.5", "-,5", "0", "0x10", "1e999", "-1e999", "-1e-350",
        "1e-320", "1.7976931348623157e308", "2147483647", "-2147483648", "2147483648", "-2147483649",
        "99999999999999999999999", "00000000000000000000042", "", "   ", "-", ".", ",", "- 5", "e5", "abc", "x", "inf",
        "nan", "infinity", "x10" };
    std::string table;
    for (const char* text : texts) {
        table += ::testing::PrintToString(std::string(text)) + ":";
        for (const auto locale : bothLocales) {
            setRuntimeLocale(locale);
            char value[32] = "-";
            if (const auto scanned = scanDouble(text))
                std::snprintf(value, sizeof value, "%.17g", *scanned);
            const auto integer = scanInt(text);
            table += std::string(" ") + value + " " + (integer ? std::to_string(*integer) : "-");
        }
        table += "\n";
    }
    kalkora::testing::expectGolden("core/golden/scan.txt", table);
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
            const double value = std::bit_cast<double>(bits);
            if (std::isfinite(value)) {
                ASSERT_EQ(scanDouble(formatG(value, 17)), value) << formatG(value, 17);
            }
            const float single = std::bit_cast<float>(static_cast<std::uint32_t>(bits >> 32));
            if (std::isfinite(single)) {
                ASSERT_EQ(static_cast<float>(*scanDouble(formatG(single, 9))), single) << formatG(single, 9);
            }
        }
    }
}

} // namespace
} // namespace kalkora::text
