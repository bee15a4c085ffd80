// Tests of src/text: the runtime locale, printf/scanf/strftime emulation and Windows-1252.

#include "text/Cp1252.h"
#include "text/NumberFormat.h"
#include "text/NumberScan.h"
#include "text/PrintDate.h"
#include "text/RuntimeLocale.h"

#include <cfloat>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace kalkora::text {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// The runtime locale is process-wide: every test sets the one it needs and the fixture puts
// back the default afterwards.
class TextTest : public ::testing::Test {
protected:
    void TearDown() override { setRuntimeLocale(RuntimeLocale::Default); }
};

const char* localeName(RuntimeLocale locale)
{
    return locale == RuntimeLocale::German ? "German" : "Default";
}

// The German form of a default-locale number text: the decimal point becomes a comma.
std::string withComma(std::string text)
{
    for (char& c : text) {
        if (c == '.')
            c = ',';
    }
    return text;
}

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
// Runtime locale

TEST_F(TextTest, RuntimeLocaleSwitchesTheDecimalSeparator)
{
    setRuntimeLocale(RuntimeLocale::Default);
    EXPECT_EQ(runtimeLocale(), RuntimeLocale::Default);
    EXPECT_EQ(decimalSeparator(), '.');
    setRuntimeLocale(RuntimeLocale::German);
    EXPECT_EQ(runtimeLocale(), RuntimeLocale::German);
    EXPECT_EQ(decimalSeparator(), ',');
    setRuntimeLocale(RuntimeLocale::Default);
    EXPECT_EQ(decimalSeparator(), '.');
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
    { -1.0, "-1" },
    { 0.1, "0.1" },
    { 0.5, "0.5" },
    { 2.5, "2.5" },
    { 123.456789, "123.457" },
    { -123.456789, "-123.457" },
    { 1234567.0, "1.23457e+006" },
    { 1234565.0, "1.23457e+006" }, // exact tie, away from zero (glibc: 1.23456e+06)
    { -1234565.0, "-1.23457e+006" },
    { 1234575.0, "1.23458e+006" },
    { 1500000.0, "1.5e+006" },
    { 1e6, "1e+006" },
    { 1e-5, "1e-005" },
    { 1.5e-5, "1.5e-005" },
    { 0.0001, "0.0001" },
    { 0.00012345678, "0.000123457" },
    { 100000.0, "100000" },
    { 123456.0, "123456" },
    { 999999.0, "999999" },
    { 999999.5, "1e+006" }, // rounding carries into the exponent form
    { 999999.4, "999999" },
    { 9.9999995, "10" },
    { 0.30000000000000004, "0.3" },
    { 1e100, "1e+100" },
    { 1.5e-300, "1.5e-300" },
    { DBL_MAX, "1.79769e+308" },
    { -DBL_MAX, "-1.79769e+308" },
    { DBL_MIN, "2.22507e-308" },
    { 4.9406564584124654e-324, "4.94066e-324" }, // smallest subnormal
    { 33.3333, "33.3333" },
    { 6.0f, "6" },
    { double(0.1f), "0.1" },
    { double(2.675f), "2.675" },
    { double(3.14159274f), "3.14159" },
    { inf, "inf" },
    { -inf, "-inf" },
    { nan, "nan" },
    { -nan, "nan" },
};

TEST_F(TextTest, FormatG6DefaultLocale)
{
    setRuntimeLocale(RuntimeLocale::Default);
    for (const auto& c : gCases)
        EXPECT_EQ(formatG6(c.value), c.text) << "value " << c.value;
}

TEST_F(TextTest, FormatG6GermanLocale)
{
    setRuntimeLocale(RuntimeLocale::German);
    for (const auto& c : gCases)
        EXPECT_EQ(formatG6(c.value), withComma(c.text)) << "value " << c.value;
    EXPECT_EQ(formatG6(1500000.0), "1,5e+006");
    EXPECT_EQ(formatG6(123.456789), "123,457");
}

TEST_F(TextTest, FormatGOtherPrecisions)
{
    setRuntimeLocale(RuntimeLocale::Default);
    EXPECT_EQ(formatG(1.25, 2), "1.3"); // tie
    EXPECT_EQ(formatG(-1.25, 2), "-1.3");
    EXPECT_EQ(formatG(0.125, 2), "0.13");
    EXPECT_EQ(formatG(2.5, 1), "3");
    EXPECT_EQ(formatG(2.5, 0), "3"); // precision 0 counts as 1
    EXPECT_EQ(formatG(15.0, 1), "2e+001");
    EXPECT_EQ(formatG(0.1, 17), "0.10000000000000001");
    EXPECT_EQ(formatG(123.456, -1), "123.456"); // negative precision is the default 6
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
    { 0.375, 0, 2, "0.38" },
    { 0.625, 0, 2, "0.63" },
    { -0.125, 0, 2, "-0.13" },
    { 80.25, 7, 1, "   80.3" },
    { -80.25, 7, 1, "  -80.3" },
    { 80.75, 7, 1, "   80.8" },
    { 0.5, 0, 0, "1" },
    { 1.5, 0, 0, "2" },
    { 2.5, 0, 0, "3" },
    { -2.5, 0, 0, "-3" },
    { 1.0625, 7, 3, "  1.063" },
    { 0.0005, 7, 3, "  0.001" }, // 0.0005 is above the tie in binary
    // Below or above the tie in binary: the exact value decides.
    { 2.675, 0, 2, "2.67" },
    { 1.005, 0, 2, "1.00" },
    { 1.015, 0, 2, "1.01" },
    { 1.025, 0, 2, "1.02" },
    { 0.045, 0, 2, "0.04" },
    { 1.045, 0, 2, "1.04" },
    { 1.055, 0, 2, "1.05" },
    { 0.15, 7, 1, "    0.1" },
    { 0.35, 7, 1, "    0.3" },
    { 0.45, 7, 1, "    0.5" },
    { double(2.675f), 7, 2, "   2.67" }, // the float is 2.6749999523...
    { double(80.25f), 7, 1, "   80.3" }, // exact in float too
    // Widths
    { 3.14159, 7, 3, "  3.142" },
    { 3.14159, 7, 2, "   3.14" },
    { 0.0, 7, 2, "   0.00" },
    { 3.64, 7, 2, "   3.64" },
    { 10.05, 7, 2, "  10.05" },
    { 50.0, 7, 2, "  50.00" },
    { 0.5, 7, 3, "  0.500" },
    { -1.5, 7, 2, "  -1.50" },
    { -1234.5, 7, 2, "-1234.50" }, // wider than the field
    { 12345678.9, 7, 2, "12345678.90" },
    { 1.65, 0, 2, "1.65" },
    { 1.5, 0, 2, "1.50" },
    { 5.2925, 0, 2, "5.29" },
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
    { inf, 0, 2, "inf" },
    { -inf, 0, 2, "-inf" },
    { nan, 0, 2, "nan" },
    { -nan, 0, 2, "nan" },
    { nan, 2, 2, "nan" },
};

TEST_F(TextTest, FormatFixedDefaultLocale)
{
    setRuntimeLocale(RuntimeLocale::Default);
    for (const auto& c : fixedCases)
        EXPECT_EQ(formatFixed(c.value, c.width, c.precision), c.text)
            << "value " << c.value << " as %" << c.width << "." << c.precision << "f";
}

TEST_F(TextTest, FormatFixedGermanLocale)
{
    setRuntimeLocale(RuntimeLocale::German);
    for (const auto& c : fixedCases)
        EXPECT_EQ(formatFixed(c.value, c.width, c.precision), withComma(c.text))
            << "value " << c.value << " as %" << c.width << "." << c.precision << "f";
    EXPECT_EQ(formatFixed(0.125, 0, 2), "0,13");
    EXPECT_EQ(formatFixed(80.25, 7, 1), "   80,3");
    EXPECT_EQ(formatFixed(2.0, 7, 2), "   2,00");
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

TEST_F(TextTest, FormatFixedTinyValues)
{
    setRuntimeLocale(RuntimeLocale::Default);
    EXPECT_EQ(formatFixed(4.9406564584124654e-324, 7, 2), "   0.00");
    EXPECT_EQ(formatFixed(-4.9406564584124654e-324, 7, 2), "  -0.00");
    EXPECT_EQ(formatFixed(DBL_MIN, 0, 3), "0.000");
    EXPECT_EQ(formatFixed(0.0049999999999999992, 0, 2), "0.00");
    EXPECT_EQ(formatFixed(0.005, 0, 2), "0.01"); // above the tie in binary
    EXPECT_EQ(formatFixed(0.0625, 0, 3), "0.063"); // tie
    EXPECT_EQ(formatFixed(0.03125, 0, 4), "0.0313"); // tie
    EXPECT_EQ(formatFixed(0.4, 0, 0), "0");
    EXPECT_EQ(formatFixed(0.6, 0, 0), "1");
    EXPECT_EQ(formatFixed(9.5, 0, 0), "10");
    EXPECT_EQ(formatFixed(0.95, 7, 1), "    0.9"); // 0.9499999...
    EXPECT_EQ(formatFixed(0.96, 7, 1), "    1.0");
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

// ---------------------------------------------------------------------------------------------
// "%lf"

struct ScanCase {
    const char* text;
    std::optional<double> defaultValue;
    std::optional<double> germanValue;
};

const std::optional<double> unreadable;

const ScanCase scanCases[] = {
    { "1,5e+006", 1.0, 1.5e6 },
    { "1.5e+006", 1.5e6, 1.0 },
    { "123,457", 123.0, 123.457 },
    { "123.457", 123.457, 123.0 },
    { "2.5", 2.5, 2.0 },
    { "2,5", 2.0, 2.5 },
    { "1e3", 1000.0, 1000.0 },
    { "1E3", 1000.0, 1000.0 },
    { "1e-2", 0.01, 0.01 },
    { "1e", 1.0, 1.0 },
    { "1e+", 1.0, 1.0 },
    { "1e-x", 1.0, 1.0 },
    { "7 Stück", 7.0, 7.0 },
    { "   42", 42.0, 42.0 },
    { "\t\n\v\f\r 42", 42.0, 42.0 },
    { "-3", -3.0, -3.0 },
    { "+3", 3.0, 3.0 },
    { " -0,25 EUR", -0.0, -0.25 },
    { " -0.25 EUR", -0.25, -0.0 },
    { ".5", 0.5, unreadable },
    { ",5", unreadable, 0.5 },
    { "5.", 5.0, 5.0 },
    { "5,", 5.0, 5.0 },
    { "+.5", 0.5, unreadable },
    { "-,5", unreadable, -0.5 },
    { "0", 0.0, 0.0 },
    { "000123", 123.0, 123.0 },
    { "0x10", 0.0, 0.0 }, // hexadecimal forms are not numbers; the leading 0 is
    { "0x1p3", 0.0, 0.0 },
    { "0.1", 0.1, 0.0 },
    { "0,1", 0.0, 0.1 },
    { "1e999", inf, inf }, // out of range: what strtod returns
    { "-1e999", -inf, -inf },
    { "1e-999", 0.0, 0.0 },
    { "1e-320", 1e-320, 1e-320 }, // subnormal
    { "1.7976931348623157e308", DBL_MAX, 1.0 },
    { "", unreadable, unreadable },
    { "   ", unreadable, unreadable },
    { "-", unreadable, unreadable },
    { "+", unreadable, unreadable },
    { ".", unreadable, unreadable },
    { ",", unreadable, unreadable },
    { "- 5", unreadable, unreadable },
    { "e5", unreadable, unreadable },
    { "abc", unreadable, unreadable },
    { "inf", unreadable, unreadable },
    { "-inf", unreadable, unreadable },
    { "nan", unreadable, unreadable },
    { "NaN", unreadable, unreadable },
    { "infinity", unreadable, unreadable },
    { "x10", unreadable, unreadable },
};

TEST_F(TextTest, ScanDoubleInBothLocales)
{
    for (auto locale : { RuntimeLocale::Default, RuntimeLocale::German }) {
        setRuntimeLocale(locale);
        for (const auto& c : scanCases) {
            auto expected = locale == RuntimeLocale::German ? c.germanValue : c.defaultValue;
            auto got = scanDouble(c.text);
            ASSERT_EQ(got.has_value(), expected.has_value()) << localeName(locale) << " \"" << c.text << "\"";
            if (expected) {
                EXPECT_EQ(*got, *expected) << localeName(locale) << " \"" << c.text << "\"";
                EXPECT_EQ(std::signbit(*got), std::signbit(*expected)) << localeName(locale) << " \"" << c.text << "\"";
            }
        }
    }
}

TEST_F(TextTest, ScanDoubleIsCorrectlyRounded)
{
    setRuntimeLocale(RuntimeLocale::German);
    EXPECT_EQ(scanDouble("0,1"), 0.1);
    EXPECT_EQ(scanDouble("2,675"), 2.675);
    EXPECT_EQ(scanDouble("9007199254740993"), 9007199254740992.0); // tie to even of the binary
    EXPECT_EQ(scanDouble("9007199254740993,0000000001"), 9007199254740994.0);
    EXPECT_EQ(scanDouble("0,000000000000000000000000000000000000001e39"), 1.0);
    EXPECT_EQ(scanDouble(std::string(500, '0') + "1,5"), 1.5);
    EXPECT_EQ(scanDouble("1" + std::string(400, '0') + "e-400"), 1.0);
    EXPECT_EQ(scanDouble("4,9406564584124654e-324"), 4.9406564584124654e-324);
    EXPECT_EQ(scanDouble("2,4703282292062328e-324"), 4.9406564584124654e-324); // just above half
    EXPECT_EQ(scanDouble("2e-324"), 0.0);
    EXPECT_EQ(scanDouble("1e99999999999999999999"), inf);
    EXPECT_EQ(scanDouble("1e-99999999999999999999"), 0.0);
    EXPECT_EQ(scanDouble("0e99999999999999999999"), 0.0);
}

// What the dialogs show they read back: "%.17g" round-trips every double, in both locales.
TEST_F(TextTest, FormatAndScanRoundTrip)
{
    std::mt19937_64 random(1999);
    for (auto locale : { RuntimeLocale::Default, RuntimeLocale::German }) {
        setRuntimeLocale(locale);
        for (int i = 0; i < 20000; ++i) {
            std::uint64_t bits = random();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            if (!std::isfinite(value))
                continue;
            ASSERT_EQ(scanDouble(formatG(value, 17)), value) << formatG(value, 17);
            auto singleBits = static_cast<std::uint32_t>(bits >> 32);
            float single;
            std::memcpy(&single, &singleBits, sizeof single);
            if (std::isfinite(single)) {
                ASSERT_EQ(static_cast<float>(*scanDouble(formatG(single, 9))), single) << formatG(single, 9);
            }
        }
        EXPECT_EQ(scanDouble(formatG6(123.456789)), 123.457);
    }
}

// ---------------------------------------------------------------------------------------------
// "%d"

struct IntCase {
    const char* text;
    std::optional<std::int32_t> value;
};

const IntCase intCases[] = {
    { "42", 42 },
    { "  -17abc", -17 },
    { "\t+5", 5 },
    { "0", 0 },
    { "-0", 0 },
    { "007", 7 },
    { "1,5", 1 },
    { "1.5", 1 },
    { "1e3", 1 },
    { "0x10", 0 },
    { "2147483647", 2147483647 },
    { "-2147483648", std::numeric_limits<std::int32_t>::min() },
    { "2147483648", std::nullopt },
    { "-2147483649", std::nullopt },
    { "99999999999999999999999", std::nullopt },
    { "00000000000000000000042", 42 },
    { "", std::nullopt },
    { "  ", std::nullopt },
    { "-", std::nullopt },
    { "+", std::nullopt },
    { "- 5", std::nullopt },
    { "x", std::nullopt },
    { ",5", std::nullopt },
};

TEST_F(TextTest, ScanInt)
{
    for (auto locale : { RuntimeLocale::Default, RuntimeLocale::German }) {
        setRuntimeLocale(locale);
        for (const auto& c : intCases)
            EXPECT_EQ(scanInt(c.text), c.value) << localeName(locale) << " \"" << c.text << "\"";
    }
}

// ---------------------------------------------------------------------------------------------
// Print date

struct DateCase {
    PrintDate date;
    const char* english;
    const char* german; // Windows-1252
};

const DateCase dateCases[] = {
    { { 2003, 8, 4 }, "Monday, 04. August 2003", "Montag, 04. August 2003" },
    { { 2003, 8, 5 }, "Tuesday, 05. August 2003", "Dienstag, 05. August 2003" },
    { { 2003, 8, 6 }, "Wednesday, 06. August 2003", "Mittwoch, 06. August 2003" },
    { { 2003, 8, 7 }, "Thursday, 07. August 2003", "Donnerstag, 07. August 2003" },
    { { 2003, 8, 8 }, "Friday, 08. August 2003", "Freitag, 08. August 2003" },
    { { 2003, 8, 9 }, "Saturday, 09. August 2003", "Samstag, 09. August 2003" },
    { { 2003, 8, 10 }, "Sunday, 10. August 2003", "Sonntag, 10. August 2003" },
    { { 2024, 1, 31 }, "Wednesday, 31. January 2024", "Mittwoch, 31. Januar 2024" },
    { { 2024, 2, 29 }, "Thursday, 29. February 2024", "Donnerstag, 29. Februar 2024" },
    { { 2024, 3, 1 }, "Friday, 01. March 2024", "Freitag, 01. M\xE4rz 2024" },
    { { 2024, 4, 15 }, "Monday, 15. April 2024", "Montag, 15. April 2024" },
    { { 2024, 5, 20 }, "Monday, 20. May 2024", "Montag, 20. Mai 2024" },
    { { 2024, 6, 30 }, "Sunday, 30. June 2024", "Sonntag, 30. Juni 2024" },
    { { 2024, 7, 4 }, "Thursday, 04. July 2024", "Donnerstag, 04. Juli 2024" },
    { { 2024, 9, 10 }, "Tuesday, 10. September 2024", "Dienstag, 10. September 2024" },
    { { 2024, 10, 3 }, "Thursday, 03. October 2024", "Donnerstag, 03. Oktober 2024" },
    { { 2024, 11, 11 }, "Monday, 11. November 2024", "Montag, 11. November 2024" },
    { { 2024, 12, 24 }, "Tuesday, 24. December 2024", "Dienstag, 24. Dezember 2024" },
    { { 2000, 2, 29 }, "Tuesday, 29. February 2000", "Dienstag, 29. Februar 2000" },
    { { 1970, 1, 1 }, "Thursday, 01. January 1970", "Donnerstag, 01. Januar 1970" },
    { { 1600, 1, 1 }, "Saturday, 01. January 1600", "Samstag, 01. Januar 1600" },
    { { 9999, 12, 31 }, "Friday, 31. December 9999", "Freitag, 31. Dezember 9999" },
    { { 999, 3, 1 }, "Friday, 01. March 0999", "Freitag, 01. M\xE4rz 0999" },
    // Invalid dates give the empty text.
    { { 2023, 2, 29 }, "", "" },
    { { 1900, 2, 29 }, "", "" },
    { { 2003, 4, 31 }, "", "" },
    { { 2003, 0, 1 }, "", "" },
    { { 2003, 13, 1 }, "", "" },
    { { 2003, 1, 0 }, "", "" },
    { { 2003, 1, 32 }, "", "" },
    { { 0, 1, 1 }, "", "" },
    { { 10000, 1, 1 }, "", "" },
};

TEST_F(TextTest, FormatPrintDateInBothLocales)
{
    for (const auto& c : dateCases) {
        setRuntimeLocale(RuntimeLocale::Default);
        EXPECT_EQ(formatPrintDate(c.date), c.english);
        setRuntimeLocale(RuntimeLocale::German);
        EXPECT_EQ(formatPrintDate(c.date), c.german);
    }
}

TEST_F(TextTest, PrintDateMarchIsWindows1252)
{
    setRuntimeLocale(RuntimeLocale::German);
    std::string text = formatPrintDate({ 2003, 3, 17 });
    EXPECT_EQ(text, "Montag, 17. M\xE4rz 2003");
    EXPECT_EQ(cp1252ToUtf8(text), "Montag, 17. März 2003");
    EXPECT_EQ(static_cast<unsigned char>(text[13]), 0xE4);
}

TEST_F(TextTest, PrintDateValidityAndWeekdayAgreeWithTheCalendar)
{
    using namespace std::chrono;
    for (int y = 1582; y <= 2400; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= 31; ++d) {
                PrintDate date { y, m, d };
                year_month_day ymd { year(y), month(static_cast<unsigned>(m)), day(static_cast<unsigned>(d)) };
                ASSERT_EQ(date.isValid(), ymd.ok()) << y << "-" << m << "-" << d;
                if (ymd.ok()) {
                    ASSERT_EQ(date.weekday(), static_cast<int>(weekday(sys_days(ymd)).c_encoding()))
                        << y << "-" << m << "-" << d;
                }
            }
        }
    }
}

TEST_F(TextTest, PrintDateTodayIsTheLocalDate)
{
    std::time_t before = std::time(nullptr);
    PrintDate today = PrintDate::today();
    std::time_t after = std::time(nullptr);
    ASSERT_TRUE(today.isValid());
    std::tm local {};
    std::tm localAfter {};
    localtime_r(&before, &local);
    localtime_r(&after, &localAfter);
    bool matchesBefore
        = today.year == local.tm_year + 1900 && today.month == local.tm_mon + 1 && today.day == local.tm_mday;
    bool matchesAfter = today.year == localAfter.tm_year + 1900 && today.month == localAfter.tm_mon + 1
        && today.day == localAfter.tm_mday;
    EXPECT_TRUE(matchesBefore || matchesAfter);
    EXPECT_EQ(today.weekday(), matchesBefore ? local.tm_wday : localAfter.tm_wday);
    EXPECT_FALSE(formatPrintDate(today).empty());
}

// ---------------------------------------------------------------------------------------------
// Windows-1252

TEST_F(TextTest, Cp1252EveryByteSurvivesUtf16AndUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);

    std::u16string utf16 = cp1252ToUtf16(all);
    ASSERT_EQ(utf16.size(), 256u);
    bool lossy = true;
    EXPECT_EQ(utf16ToCp1252(utf16, &lossy), all);
    EXPECT_FALSE(lossy);

    std::string utf8 = cp1252ToUtf8(all);
    lossy = true;
    EXPECT_EQ(utf8ToCp1252(utf8, &lossy), all);
    EXPECT_FALSE(lossy);

    // Each byte on its own, too.
    for (int b = 0; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        EXPECT_EQ(utf16ToCp1252(cp1252ToUtf16(one)), one) << b;
        EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(one)), one) << b;
    }
}

TEST_F(TextTest, Cp1252MapsTheHighBytes)
{
    EXPECT_EQ(cp1252ToUtf16("\x80"), u"\u20AC");
    EXPECT_EQ(cp1252ToUtf16("\x8A\x9A\x9F"), u"\u0160\u0161\u0178");
    EXPECT_EQ(cp1252ToUtf16("\x93\x94\x96\x97"), u"\u201C\u201D\u2013\u2014");
    EXPECT_EQ(cp1252ToUtf16("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(cp1252ToUtf16("\xA0\xE4\xFF"), u"\u00A0\u00E4\u00FF");
    EXPECT_EQ(cp1252ToUtf8("Losgr\xF6\xDF"
                           "e \x80"),
        "Losgröße €");
    EXPECT_EQ(cp1252ToUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(utf8ToCp1252("STÜCKZAHLBASIS"),
        "ST\xDC"
        "CKZAHLBASIS");
    EXPECT_EQ(utf16ToCp1252(u"M\u00E4rz \u20AC\u2122"), "M\xE4rz \x80\x99");
    EXPECT_EQ(cp1252ToUtf8(""), "");
    EXPECT_EQ(utf8ToCp1252(""), "");
    std::string withNul("a\0b", 3);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(withNul)), withNul);
}

std::string utf8Of(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Every BMP character maps to exactly its own byte or to '?'; exactly 256 of them map.
TEST_F(TextTest, Cp1252EncodesTheWholeBmpConsistently)
{
    int mapped = 0;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        std::u16string text(1, static_cast<char16_t>(c));
        bool lossy = false;
        std::string bytes = utf16ToCp1252(text, &lossy);
        ASSERT_EQ(bytes.size(), 1u);
        if (lossy) {
            ASSERT_EQ(bytes, "?") << std::hex << static_cast<unsigned>(c);
        } else {
            ++mapped;
            ASSERT_EQ(cp1252ToUtf16(bytes), text) << std::hex << static_cast<unsigned>(c);
        }
        bool lossyUtf8 = !lossy;
        ASSERT_EQ(utf8ToCp1252(utf8Of(c), &lossyUtf8), bytes) << std::hex << static_cast<unsigned>(c);
        ASSERT_EQ(lossyUtf8, lossy) << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_EQ(mapped, 256);
}

struct LossyCase {
    std::string utf8;
    std::string cp1252;
    bool lossy;
};

TEST_F(TextTest, Cp1252ReplacesWhatItCannotHold)
{
    const LossyCase cases[] = {
        { "plain ASCII", "plain ASCII", false },
        { "Kosten ✓", "Kosten ?", true },
        { "\xC2\x80", "?", true }, // U+0080: 0x80 is the euro sign
        { "\xC2\x9E", "?", true }, // U+009E likewise
        { "😀!", "?!", true }, // beyond the BMP: one '?'
        { "Ωmega", "?mega", true },
        // Ill-formed UTF-8: each maximal ill-formed subpart is one '?'.
        { "a\xC3", "a?", true }, // truncated at the end
        { "\xC3x", "?x", true },
        { "\xE2\x82x", "?x", true }, // truncated euro sign
        { "\xE2\x82\xAC", "\x80", false },
        { "\xC0\xAF", "??", true }, // overlong
        { "\xE0\x80\xAF", "???", true }, // overlong
        { "\xED\xA0\x80", "???", true }, // surrogate
        { "\xF4\x90\x80\x80", "????", true }, // above U+10FFFF
        { "\xF0\x9F\x98", "?", true }, // truncated four-byte sequence
        { "\x80\xBF", "??", true }, // stray continuation bytes
        { "\xFE\xFF", "??", true },
    };
    for (const auto& c : cases) {
        bool lossy = !c.lossy;
        EXPECT_EQ(utf8ToCp1252(c.utf8, &lossy), c.cp1252) << c.utf8;
        EXPECT_EQ(lossy, c.lossy) << c.utf8;
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.cp1252) << c.utf8; // lossy may be left out
    }

    bool lossy = false;
    EXPECT_EQ(utf16ToCp1252(u"x\U0001F600y", &lossy), "x?y"); // a surrogate pair is one '?'
    EXPECT_TRUE(lossy);
    const char16_t loneHigh[] = { u'a', 0xD83D, u'b', 0 };
    EXPECT_EQ(utf16ToCp1252(loneHigh, &lossy), "a?b");
    EXPECT_TRUE(lossy);
    const char16_t loneLow[] = { 0xDE00, 0xD83D, 0 };
    EXPECT_EQ(utf16ToCp1252(loneLow, &lossy), "??");
    EXPECT_TRUE(lossy);
    EXPECT_EQ(utf16ToCp1252(u"\u0080", &lossy), "?");
    EXPECT_TRUE(lossy);
    EXPECT_EQ(utf16ToCp1252(u"fine", &lossy), "fine");
    EXPECT_FALSE(lossy);
}

} // namespace
} // namespace kalkora::text
