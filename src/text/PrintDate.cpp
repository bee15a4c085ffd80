#include "text/PrintDate.h"

#include "text/RuntimeLocale.h"

#include <ctime>

namespace kalkora::text {

namespace {

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int days[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
long long daysFromCivil(long long year, int month, int day)
{
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// Windows-1252 bytes.
constexpr const char* englishDays[7] = { "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday" };
constexpr const char* germanDays[7]
    = { "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag" };
constexpr const char* englishMonths[12] = { "January", "February", "March", "April", "May", "June", "July", "August",
    "September", "October", "November", "December" };
constexpr const char* germanMonths[12] = { "Januar", "Februar", "M\xE4rz", "April", "Mai", "Juni", "Juli", "August",
    "September", "Oktober", "November", "Dezember" };

} // namespace

PrintDate PrintDate::today()
{
    std::time_t now = std::time(nullptr);
    std::tm local {};
    if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr)
        return PrintDate { 0, 0, 0 }; // invalid: formats as the empty text
    return PrintDate { local.tm_year + 1900, local.tm_mon + 1, local.tm_mday };
}

bool PrintDate::isValid() const
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

int PrintDate::weekday() const
{
    long long days = daysFromCivil(year, month, day);
    long long weekday = (days + 4) % 7; // 1970-01-01 was a Thursday
    return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

std::string formatPrintDate(const PrintDate& date)
{
    if (!date.isValid())
        return {};
    const bool german = runtimeLocale() == RuntimeLocale::German;
    std::string out = german ? germanDays[date.weekday()] : englishDays[date.weekday()];
    out += ", ";
    out += static_cast<char>('0' + date.day / 10);
    out += static_cast<char>('0' + date.day % 10);
    out += ". ";
    out += german ? germanMonths[date.month - 1] : englishMonths[date.month - 1];
    out += ' ';
    std::string year = std::to_string(date.year);
    if (year.size() < 4)
        year.insert(0, 4 - year.size(), '0');
    out += year;
    return out;
}

} // namespace kalkora::text
