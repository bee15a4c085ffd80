#include "text/NumberFormat.h"

#include "TextTestSupport.h"
#include "text/NumberScan.h"

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace kalkora::text {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
[[maybe_unused]] constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// glibc's "%.*f" of a double as an exact decimal (printing every binary fraction digit): the
// independent reference for deciding whether a value is an exact tie.
std::string exactExpansion(double value)
{
    std::vector<char> buffer(1500);
    int n = std::snprintf(buffer.data(), buffer.size(), "%.1100f", value);
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

// Whether `value` lies exactly half-way between two outputs of "%.{decimals}f".
bool isFixedTie(double value, int decimals)
{
    std::string exact = exactExpansion(value);
    std::size_t point = exact.find('.');
    std::string rest = exact.substr(point + 1 + static_cast<std::size_t>(decimals));
    return rest[0] == '5' && rest.find_first_not_of('0', 1) == std::string::npos;
}

// Whether `value` lies exactly half-way between two outputs of "%.{precision}g".
bool isSignificantTie(double value, int precision)
{
    std::vector<char> buffer(1500);
    std::snprintf(buffer.data(), buffer.size(), "%.1100e", std::fabs(value));
    std::string digits;
    for (const char* p = buffer.data(); *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits += *p;
    }
    std::string rest = digits.substr(static_cast<std::size_t>(precision));
    return rest[0] == '5' && rest.find_first_not_of('0', 1) == std::string::npos;
}

// glibc's "%.*g" with the exponent widened to three digits as the Windows runtime prints it.
std::string glibcG(double value, int precision)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
    std::string text = buffer;
    auto e = text.find('e');
    if (e != std::string::npos && text.size() - e - 2 < 3)
        text.insert(e + 2, 3 - (text.size() - e - 2), '0');
    return text;
}

std::string glibcFixed(double value, int width, int precision)
{
    std::vector<char> buffer(400);
    int n = std::snprintf(buffer.data(), buffer.size(), "%*.*f", width, precision, value);
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

// ---------------------------------------------------------------------------------------------
// "%.*g" at precision 6

struct GCase {
    double value;
    const char* text; // default locale; the German text has a comma for the point
};

const GCase gCases[] = {
    { 0.0, "0" },
    { -0.0, "-0" },
    { 1.0, "1" },
    { 0.1, "0.1" },
    { 123.456789, "123.457" },
    { -123.456789, "-123.457" },
    { 1234565.0, "1.23457e+006" }, // exact tie, away from zero (glibc: 1.23456e+06)
    { -1234565.0, "-1.23457e+006" },
    { 1234575.0, "1.23458e+006" },
    { 1234563.0, "1.23456e+006" }, // an integer whose dropped digit is no 5
    { 12345650.0, "1.23457e+007" }, // exact tie of an even integer
    { 1500000.0, "1.5e+006" },
    { 1e6, "1e+006" },
    { 1e-5, "1e-005" },
    { 0.0001, "0.0001" },
    { 0.00012345678, "0.000123457" },
    { 100000.0, "100000" },
    { 999999.0, "999999" },
    { 999999.5, "1e+006" }, // rounding carries into the exponent form
    { 9.9999995, "10" },
    { 0.30000000000000004, "0.3" },
    { 1e100, "1e+100" },
    { 1.5e-300, "1.5e-300" },
    { DBL_MAX, "1.79769e+308" },
    { DBL_MIN, "2.22507e-308" },
    { 4.9406564584124654e-324, "4.94066e-324" }, // smallest subnormal
    { double(0.1f), "0.1" },
    { double(2.675f), "2.675" },
    { double(3.14159274f), "3.14159" },
    { inf, "inf" },
    { -inf, "-inf" },
    { nan, "nan" },
    { -nan, "nan" },
};

TEST_F(TextTest, FormatG6InBothLocales)
{
    for (auto locale : { RuntimeLocale::Default, RuntimeLocale::German }) {
        setRuntimeLocale(locale);
        for (const auto& c : gCases) {
            EXPECT_EQ(formatG6(c.value), locale == RuntimeLocale::German ? withComma(c.text) : c.text)
                << localeName(locale) << " " << c.value;
        }
    }
}

// Away from exact ties the output is the correctly rounded one, which glibc also prints; at
// ties it rounds away from zero.
TEST_F(TextTest, FormatGMatchesCorrectRoundingOffTies)
{
    setRuntimeLocale(RuntimeLocale::Default);
    std::mt19937_64 random(20030804);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 12);
    int ties = 0;
    for (int i = 0; i < 20000; ++i) {
        double value = mantissa(random) * std::pow(10.0, exponent(random));
        if (i % 2)
            value = -value;
        if (i % 3 == 0)
            value = static_cast<float>(value); // the dialogs show floats
        for (int precision : { 1, 3, 6, 10 }) {
            std::string ours = formatG(value, precision);
            if (ours == glibcG(value, precision))
                continue;
            ASSERT_TRUE(isSignificantTie(value, precision)) << value << " at " << precision << ": " << ours;
            ++ties;
            ASSERT_EQ(ours, glibcG(std::nextafter(value, value < 0 ? -inf : inf), precision)) << value;
        }
    }
    EXPECT_GT(ties, 0);
}

// ---------------------------------------------------------------------------------------------
// "%W.Pf"

struct FixedCase {
    double value;
    int width;
    int precision;
    const char* text; // default locale
};

const FixedCase fixedCases[] = {
    // Ties round away from zero (glibc rounds them to even).
    { 0.125, 0, 2, "0.13" },
    { -0.125, 0, 2, "-0.13" },
    { 80.25, 7, 1, "   80.3" },
    { -80.25, 7, 1, "  -80.3" },
    { 0.5, 0, 0, "1" },
    { 2.5, 0, 0, "3" },
    { -2.5, 0, 0, "-3" },
    { -99.5, 7, 0, "   -100" }, // the tie carries into a new digit
    { 1.0625, 7, 3, "  1.063" },
    { 0.0005, 7, 3, "  0.001" }, // 0.0005 is above the tie in binary
    // Below or above the tie in binary: the exact value decides.
    { 2.675, 0, 2, "2.67" },
    { 1.005, 0, 2, "1.00" },
    { 0.045, 0, 2, "0.04" },
    { 0.15, 7, 1, "    0.1" },
    { 0.45, 7, 1, "    0.5" },
    { double(2.675f), 7, 2, "   2.67" }, // the float is 2.6749999523...
    { double(80.25f), 7, 1, "   80.3" }, // exact in float too
    // Widths
    { 3.14159, 7, 3, "  3.142" },
    { 0.0, 7, 2, "   0.00" },
    { 0.5, 7, 3, "  0.500" },
    { -1.5, 7, 2, "  -1.50" },
    { -1234.5, 7, 2, "-1234.50" }, // wider than the field
    { 12345678.9, 7, 2, "12345678.90" },
    { 99.995, 0, 2, "100.00" }, // 99.99500000000000455 rounds up and carries
    { 99.985, 0, 2, "99.98" }, // 99.98499999999999943
    { 99.9951, 7, 2, " 100.00" },
    { 999.96, 7, 1, " 1000.0" },
    { 1e-20, 7, 2, "   0.00" },
    { 1.0 / 3.0, 0, 6, "0.333333" }, // width 0, precision 6
    { 2.5, -7, 2, "2.50   " }, // negative width left-aligns
    // Negative zero and values that round to zero keep the sign, as printf does.
    { -0.0, 7, 2, "  -0.00" },
    { -0.001, 0, 2, "-0.00" },
    // Large values print every integer digit.
    { 1e15, 0, 2, "1000000000000000.00" },
    { 123456789012345678.0, 0, 0, "123456789012345680" },
    { 9007199254740993.0, 0, 1, "9007199254740992.0" },
    // Non-finite values, right-aligned in the field.
    { inf, 7, 2, "    inf" },
    { -inf, 7, 2, "   -inf" },
    { nan, 7, 2, "    nan" },
    { -nan, 7, 1, "    nan" },
    { nan, 0, 2, "nan" },
    { nan, 2, 2, "nan" },
};

TEST_F(TextTest, FormatFixedInBothLocales)
{
    for (auto locale : { RuntimeLocale::Default, RuntimeLocale::German }) {
        setRuntimeLocale(locale);
        for (const auto& c : fixedCases) {
            EXPECT_EQ(formatFixed(c.value, c.width, c.precision),
                locale == RuntimeLocale::German ? withComma(c.text) : c.text)
                << localeName(locale) << " " << c.value << " as %" << c.width << "." << c.precision << "f";
        }
    }
}

// Every tie of "%.2f" is an odd multiple of 1/8, every tie of "%.1f" an odd multiple of 1/4:
// check them all in a range against integer arithmetic.
TEST_F(TextTest, FormatFixedRoundsEveryTieAwayFromZero)
{
    setRuntimeLocale(RuntimeLocale::Default);
    for (long long odd = 1; odd < 20000; odd += 2) {
        double eighths = static_cast<double>(odd) / 8.0; // hundredths: odd * 12.5
        long long hundredths = (odd * 25 + 1) / 2;
        std::string expected = std::to_string(hundredths / 100) + "." + (hundredths % 100 < 10 ? "0" : "")
            + std::to_string(hundredths % 100);
        ASSERT_EQ(formatFixed(eighths, 0, 2), expected) << odd << "/8";
        ASSERT_EQ(formatFixed(-eighths, 0, 2), "-" + expected) << "-" << odd << "/8";

        double quarters = static_cast<double>(odd) / 4.0; // tenths: odd * 2.5
        long long tenths = (odd * 5 + 1) / 2;
        std::string expectedTenths = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
        ASSERT_EQ(formatFixed(quarters, 0, 1), expectedTenths) << odd << "/4";
    }
}

// Away from exact ties the output is the correctly rounded one; at ties it differs from
// glibc's exactly by rounding away from zero.
TEST_F(TextTest, FormatFixedMatchesCorrectRoundingOffTies)
{
    setRuntimeLocale(RuntimeLocale::Default);
    std::mt19937_64 random(4082003);
    std::uniform_int_distribution<long long> cents(-10'000'000, 10'000'000);
    std::uniform_real_distribution<double> anyValue(-1e6, 1e6);
    int ties = 0;
    for (int i = 0; i < 40000; ++i) {
        // Half of the values sit near decimal ties (x.xx5 typed as decimal), half anywhere.
        double value = i % 2 ? anyValue(random) : (static_cast<double>(cents(random)) + 0.5) / 100.0;
        if (i % 4 == 0)
            value = static_cast<float>(value);
        for (int precision : { 1, 2, 3 }) {
            std::string ours = formatFixed(value, 7, precision);
            std::string glibc = glibcFixed(value, 7, precision);
            if (ours == glibc)
                continue;
            ASSERT_TRUE(isFixedTie(value, precision)) << value << ": " << ours << " vs " << glibc;
            ++ties;
            ASSERT_EQ(ours, glibcFixed(std::nextafter(value, value < 0 ? -inf : inf), 7, precision)) << value;
        }
    }
    EXPECT_GT(ties, 0);
}

TEST_F(TextTest, FormatFixedPrintsHugeValuesExactly)
{
    for (auto locale : { RuntimeLocale::Default, RuntimeLocale::German }) {
        setRuntimeLocale(locale);
        std::string expected = glibcFixed(1e300, 0, 2); // glibc prints the exact value
        std::string text = formatFixed(1e300, 7, 2);
        ASSERT_EQ(text.size(), 301u + 3u) << localeName(locale);
        EXPECT_EQ(text.substr(0, 301), expected.substr(0, 301)) << localeName(locale);
        EXPECT_EQ(text.substr(0, 20), "10000000000000000525") << localeName(locale);
        EXPECT_EQ(text.substr(301), locale == RuntimeLocale::German ? ",00" : ".00");

        std::string max = formatFixed(-DBL_MAX, 0, 0);
        EXPECT_EQ(max.size(), 310u);
        EXPECT_EQ(max, glibcFixed(-DBL_MAX, 0, 0));
        EXPECT_EQ(max.substr(0, 11), "-1797693134");
    }
}

// Qt sets the C library's locale from the environment (setlocale(LC_ALL, "")); the runtime
// locale of the program must not depend on it. Runs where a comma locale is installed.
TEST_F(TextTest, FormattingAndScanningIgnoreTheCLibraryLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string restore = previous ? previous : "C";
    const char* commaLocale = nullptr;
    for (const char* name : { "de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE@euro", "fr_FR.UTF-8", "fr_FR.utf8" }) {
        if (std::setlocale(LC_NUMERIC, name)) {
            commaLocale = name;
            break;
        }
    }
    if (!commaLocale)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);

    setRuntimeLocale(RuntimeLocale::Default);
    std::string fixed = formatFixed(80.25, 7, 1);
    std::string general = formatG6(1234565.0);
    std::string huge = formatFixed(1e300, 0, 2);
    auto scanned = scanDouble("2.5");
    setRuntimeLocale(RuntimeLocale::German);
    std::string germanFixed = formatFixed(0.125, 0, 2);
    auto germanScanned = scanDouble("2,5");
    std::setlocale(LC_NUMERIC, restore.c_str());

    EXPECT_STREQ(probe, "0,5") << commaLocale;
    EXPECT_EQ(fixed, "   80.3");
    EXPECT_EQ(general, "1.23457e+006");
    EXPECT_EQ(huge.size(), 304u);
    EXPECT_EQ(huge.substr(301), ".00");
    EXPECT_EQ(scanned, 2.5);
    EXPECT_EQ(germanFixed, "0,13");
    EXPECT_EQ(germanScanned, 2.5);
}

// ---------------------------------------------------------------------------------------------
// "%Wi" / "%Wd"

TEST_F(TextTest, FormatInt)
{
    for (auto locale : { RuntimeLocale::Default, RuntimeLocale::German }) {
        setRuntimeLocale(locale);
        EXPECT_EQ(formatInt(100, 6), "   100");
        EXPECT_EQ(formatInt(1, 7), "      1");
        EXPECT_EQ(formatInt(-42, 7), "    -42");
        EXPECT_EQ(formatInt(0, 6), "     0");
        EXPECT_EQ(formatInt(1234567, 6), "1234567");
        EXPECT_EQ(formatInt(100), "100");
        EXPECT_EQ(formatInt(-5, 0), "-5");
        EXPECT_EQ(formatInt(2147483647, 7), "2147483647");
        EXPECT_EQ(formatInt(-2147483648LL, 7), "-2147483648");
        EXPECT_EQ(formatInt(2147483648LL), "2147483648"); // shiftMode + 1 may leave int32
        EXPECT_EQ(formatInt(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
        EXPECT_EQ(formatInt(12, -6), "12    ");
    }
}

} // namespace
} // namespace kalkora::text
