#include "text/PrintDate.h"

#include "Golden.h"
#include "TextTestSupport.h"

#include <chrono>
#include <cstdlib>

namespace kalkora::text {
namespace {

// English and German (Windows-1252) names, stored beside the tests; invalid dates give the empty
// text (months, days and leap years are checked against the calendar below).
TEST_F(TextTest, FormatPrintDateInBothLocales)
{
    std::string table;
    for (const PrintDate date : { PrintDate { 2003, 8, 9 }, { 2024, 3, 1 }, { 2024, 6, 30 }, { 9999, 12, 31 },
             { 999, 3, 1 }, { 1, 1, 1 }, { 0, 1, 1 }, { 10000, 1, 1 } }) {
        setRuntimeLocale(RuntimeLocale::Default);
        table += formatPrintDate(date) + " | ";
        setRuntimeLocale(RuntimeLocale::German);
        table += formatPrintDate(date) + "\n";
    }
    kalkora::testing::expectGolden("core/golden/print-dates.txt", table);
}

// Every day, month and one beyond either end, of the years 1582 to 2400.
TEST_F(TextTest, PrintDateValidityAndWeekdayAgreeWithTheCalendar)
{
    using namespace std::chrono;
    for (int y = 1582; y <= 2400; ++y) {
        for (int m = 0; m <= 13; ++m) {
            for (int d = 0; d <= 32; ++d) {
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

// Today is the local date: within a day of the UTC date whatever the time zone.
TEST(PrintDateToday, IsTheDateOfTheClock)
{
    using namespace std::chrono;
    const PrintDate today = PrintDate::today();
    const sys_days shown = year_month_day { year(today.year), month(unsigned(today.month)), day(unsigned(today.day)) };
    EXPECT_LE(std::abs((shown - floor<days>(system_clock::now())).count()), 1);
}

} // namespace
} // namespace kalkora::text
