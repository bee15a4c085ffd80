#include "text/NumberFormat.h"

#include "TextTestSupport.h"
#include "text/NumberScan.h"

#include <algorithm>
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
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// glibc's printf of one double into a string big enough for every digit of it.
template <typename... Args> std::string glibc(const char* format, Args... args)
{
    std::vector<char> buffer(1500);
    const int n = std::snprintf(buffer.data(), buffer.size(), format, args...);
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

// Whether the exact decimal digits of a value, after the `kept` ones, are one half: "5000...".
bool isHalf(const std::string& digits, std::size_t kept)
{
    return digits[kept] == '5' && digits.find_first_not_of('0', kept + 1) == std::string::npos;
}

// glibc's "%.*g" with the exponent widened to three digits as the Windows runtime prints it.
std::string glibcG(double value, int precision)
{
    std::string text = glibc("%.*g", precision, value);
    auto e = text.find('e');
    if (e != std::string::npos && text.size() - e - 2 < 3)
        text.insert(e + 2, 3 - (text.size() - e - 2), '0');
    return text;
}

// "%.6g", default locale; the German text has a comma for the point. Exact ties round away from
// zero (glibc: 1.23456e+06 for 1234565), also for even integers and when rounding carries into
// the exponent form; 4.94066e-324 is the smallest subnormal. Values off ties are compared with
// glibc at random below.
TEST_F(TextTest, FormatG6InBothLocales)
{
    const std::pair<double, const char*> cases[]
        = { { 0.0, "0" }, { -0.0, "-0" }, { 1.0, "1" }, { 1234565.0, "1.23457e+006" }, { -1234565.0, "-1.23457e+006" },
              { 1234575.0, "1.23458e+006" }, { 12345650.0, "1.23457e+007" }, { 999999.5, "1e+006" },
              { 9.9999995, "10" }, { 1e100, "1e+100" }, { 1.5e-300, "1.5e-300" }, { DBL_MAX, "1.79769e+308" },
              { DBL_MIN, "2.22507e-308" }, { 4.9406564584124654e-324, "4.94066e-324" }, { inf, "inf" },
              { -inf, "-inf" }, { nan, "nan" }, { -nan, "nan" } };
    for (const auto locale : bothLocales) {
        setRuntimeLocale(locale);
        for (const auto& [value, text] : cases)
            EXPECT_EQ(formatG6(value), localized(text, locale)) << localeName(locale) << " " << value;
        // As printf: a negative precision is the default 6, precision 0 is 1.
        EXPECT_EQ(formatG(1.0 / 3.0, -1) + formatG(123.0, 0), localized("0.3333331e+002", locale));
    }
}

// "%W.Pf", default locale. Ties round away from zero (glibc rounds them to even), also where the
// tie carries into a new digit; off ties the exact binary value decides, as compared with glibc
// at random below. Negative widths left-align; negative zero and values that round to zero keep
// the sign; large values print every integer digit; non-finite values are right-aligned.
TEST_F(TextTest, FormatFixedInBothLocales)
{
    const struct {
        double value;
        int width, precision;
        const char* text;
    } cases[] = { { 0.125, 0, 2, "0.13" }, { -0.125, 0, 2, "-0.13" }, { 80.25, 7, 1, "   80.3" },
        { -80.25, 7, 1, "  -80.3" }, { 0.5, 0, 0, "1" }, { 2.5, 0, 0, "3" }, { -2.5, 0, 0, "-3" },
        { -99.5, 7, 0, "   -100" }, { 1.0625, 7, 3, "  1.063" }, { 0.0, 7, 2, "   0.00" }, { 99.995, 0, 2, "100.00" },
        { 999.96, 7, 1, " 1000.0" }, { 1.0 / 3.0, 0, 6, "0.333333" }, { 2.5, -7, 2, "2.50   " },
        { -0.0, 7, 2, "  -0.00" }, { -0.001, 0, 2, "-0.00" }, { 1e15, 0, 2, "1000000000000000.00" },
        { 123456789012345678.0, 0, 0, "123456789012345680" }, { 9007199254740993.0, 0, 1, "9007199254740992.0" },
        { inf, 7, 2, "    inf" }, { -inf, 7, 2, "   -inf" }, { nan, 7, 2, "    nan" }, { -nan, 7, 1, "    nan" },
        { nan, 0, 2, "nan" }, { nan, 2, 2, "nan" }, { 1.0 / 3.0, 0, -1, "0.333333" } };
    for (const auto locale : bothLocales) {
        setRuntimeLocale(locale);
        for (const auto& c : cases) {
            EXPECT_EQ(formatFixed(c.value, c.width, c.precision), localized(c.text, locale))
                << localeName(locale) << " " << c.value << " as %" << c.width << "." << c.precision << "f";
        }
        // 1e300 and DBL_MAX print their exact values, as glibc does.
        EXPECT_EQ(formatFixed(1e300, 7, 2), localized(glibc("%.2f", 1e300), locale));
        EXPECT_EQ(formatFixed(-DBL_MAX, 0, 0), glibc("%.0f", -DBL_MAX));
    }
}

// Every tie of "%.2f" is an odd multiple of 1/8, every tie of "%.1f" an odd multiple of 1/4:
// check them all in a range against integer arithmetic.
TEST_F(TextTest, FormatFixedRoundsEveryTieAwayFromZero)
{
    for (long long odd = 1; odd < 20000; odd += 2) {
        const long long hundredths = (odd * 25 + 1) / 2; // odd / 8 is odd * 12.5 hundredths
        const std::string expected = std::to_string(hundredths / 100) + "." + (hundredths % 100 < 10 ? "0" : "")
            + std::to_string(hundredths % 100);
        ASSERT_EQ(formatFixed(odd / 8.0, 0, 2), expected) << odd << "/8";
        ASSERT_EQ(formatFixed(-odd / 8.0, 0, 2), "-" + expected) << "-" << odd << "/8";
        const long long tenths = (odd * 5 + 1) / 2;
        ASSERT_EQ(formatFixed(odd / 4.0, 0, 1), std::to_string(tenths / 10) + "." + std::to_string(tenths % 10))
            << odd << "/4";
    }
}

// Away from exact ties both forms print the correctly rounded text, which glibc also prints; at
// a tie they print glibc's text of the next double away from zero.
TEST_F(TextTest, FormatGAndFixedMatchCorrectRoundingOffTies)
{
    std::mt19937_64 random(20030804);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 12);
    std::uniform_int_distribution<long long> cents(-10'000'000, 10'000'000);
    std::uniform_real_distribution<double> anyValue(-1e6, 1e6);
    int gTies = 0, fixedTies = 0;
    for (int i = 0; i < 40000; ++i) {
        // Values anywhere, near decimal ties (x.xx5 typed as decimal) and of every magnitude.
        double value = i % 3 == 0 ? anyValue(random)
            : i % 3 == 1          ? (static_cast<double>(cents(random)) + 0.5) / 100.0
                                  : mantissa(random) * std::pow(10.0, exponent(random)) * (i % 2 ? -1 : 1);
        if (i % 4 == 0)
            value = static_cast<float>(value); // the dialogs show floats
        const double awayFromZero = std::nextafter(value, value < 0 ? -inf : inf);
        for (int precision : { 1, 3, 6, 10 }) {
            const std::string ours = formatG(value, precision);
            if (ours == glibcG(value, precision))
                continue;
            std::string digits = glibc("%.1100e", std::fabs(value)).erase(1, 1);
            digits.resize(digits.find('e'));
            ASSERT_TRUE(isHalf(digits, static_cast<std::size_t>(precision))) << value << " at " << precision;
            ASSERT_EQ(ours, glibcG(awayFromZero, precision)) << value;
            ++gTies;
        }
        for (int precision : { 1, 2, 3 }) {
            const std::string ours = formatFixed(value, 7, precision);
            if (ours == glibc("%7.*f", precision, value))
                continue;
            const std::string exact = glibc("%.1100f", value);
            ASSERT_TRUE(isHalf(exact, exact.find('.') + 1 + static_cast<std::size_t>(precision))) << value;
            ASSERT_EQ(ours, glibc("%7.*f", precision, awayFromZero)) << value;
            ++fixedTies;
        }
    }
    EXPECT_GT(gTies, 0);
    EXPECT_GT(fixedTies, 0);
}

// Qt sets the C library's locale from the environment (setlocale(LC_ALL, "")); the runtime
// locale of the program must not depend on it. Runs where a comma locale is installed.
TEST_F(TextTest, FormattingAndScanningIgnoreTheCLibraryLocale)
{
    const std::string restore = std::setlocale(LC_NUMERIC, nullptr);
    const char* const commaLocales[]
        = { "de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE@euro", "fr_FR.UTF-8", "fr_FR.utf8" };
    if (std::none_of(std::begin(commaLocales), std::end(commaLocales),
            [](const char* name) { return std::setlocale(LC_NUMERIC, name) != nullptr; }))
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    std::vector<std::string> texts { glibc("%.1f", 0.5), formatFixed(80.25, 7, 1), formatG6(1234565.0),
        formatFixed(1e300, 0, 2).substr(301), formatG6(scanDouble("2.5").value_or(0)) };
    setRuntimeLocale(RuntimeLocale::German);
    texts.insert(texts.end(), { formatFixed(0.125, 0, 2), formatG6(scanDouble("2,5").value_or(0)) });
    std::setlocale(LC_NUMERIC, restore.c_str());
    EXPECT_EQ(texts, std::vector<std::string>({ "0,5", "   80.3", "1.23457e+006", ".00", "2.5", "0,13", "2,5" }));
}

// "%Wi": shiftMode + 1 may leave int32; a negative width left-aligns.
TEST_F(TextTest, FormatInt)
{
    const struct {
        long long value;
        int width;
        const char* text;
    } cases[] = { { 100, 6, "   100" }, { 1, 7, "      1" }, { -42, 7, "    -42" }, { 0, 6, "     0" },
        { 1234567, 6, "1234567" }, { -5, 0, "-5" }, { 2147483647, 7, "2147483647" },
        { -2147483648LL, 7, "-2147483648" }, { 2147483648LL, 0, "2147483648" },
        { std::numeric_limits<std::int64_t>::min(), 0, "-9223372036854775808" }, { 12, -6, "12    " } };
    for (const auto locale : bothLocales) {
        setRuntimeLocale(locale);
        for (const auto& c : cases)
            EXPECT_EQ(formatInt(c.value, c.width), c.text) << c.value;
    }
}

} // namespace
} // namespace kalkora::text
