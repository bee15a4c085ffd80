#pragma once

#include <string>

namespace kalkora::text {

// A calendar date of the proleptic Gregorian calendar; month 1..12, day 1..31.
struct PrintDate {
    int year = 1970;
    int month = 1;
    int day = 1;

    static PrintDate today(); // local time
    bool isValid() const;
    int weekday() const; // 0 = Sunday
};

// strftime "%A, %d. %B %Y" with English (default locale) or German day and month names.
// An invalid date gives the empty text, as a failed strftime would.
std::string formatPrintDate(const PrintDate& date);

} // namespace kalkora::text
