#pragma once

#include <string>

namespace kalkora::text {

// A calendar date of the proleptic Gregorian calendar; month 1..12, day 1..31.
struct PrintDate {
    int year = 1970;
    int month = 1;
    int day = 1;

    static PrintDate today(); // local time; an invalid date if the clock cannot be read
    bool isValid() const; // a real day of the years 1..9999
    int weekday() const; // 0 = Sunday
};

// strftime "%A, %d. %B %Y" with English (default locale) or German day and month names.
// The text is Windows-1252 ("M\xE4rz"); the day has two digits, the year at least four.
// An invalid date gives the empty text, as a failed strftime would.
std::string formatPrintDate(const PrintDate& date);

} // namespace kalkora::text
