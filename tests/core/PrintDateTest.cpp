#include "text/PrintDate.h"

#include "TextTestSupport.h"

#include <chrono>
#include <cstdlib>

namespace kalkora::text {
namespace {

// English and German (Windows-1252) names; invalid dates give the empty text (months, days
// and leap years are checked against the calendar below).
TEST_F(TextTest, FormatPrintDateInBothLocales)
{
    const struct {
        PrintDate date;
        const char* english;
        const char* german;
    } cases[] = { { { 2003, 8, 9 }, "Saturday, 09. August 2003", "Samstag, 09. August 2003" },
        { { 2024, 3, 1 }, "Friday, 01. March 2024", "Freitag, 01. M\xE4rz 2024" },
        { { 2024, 6, 30 }, "Sunday, 30. June 2024", "Sonntag, 30. Juni 2024" },
        { { 9999, 12, 31 }, "Friday, 31. December 9999", "Freitag, 31. Dezember 9999" },
        { { 999, 3, 1 }, "Friday, 01. March 0999", "Freitag, 01. M\xE4rz 0999" },
        { { 1, 1, 1 }, "Monday, 01. January 0001", "Montag, 01. Januar 0001" }, { { 0, 1, 1 }, "", "" },
        { { 10000, 1, 1 }, "", "" } };
    for (const auto& c : cases) {
        setRuntimeLocale(RuntimeLocale::Default);
        EXPECT_EQ(formatPrintDate(c.date), c.english);
        setRuntimeLocale(RuntimeLocale::German);
        EXPECT_EQ(formatPrintDate(c.date), c.german);
    }
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
