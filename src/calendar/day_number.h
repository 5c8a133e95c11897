// Day numbers: the diary names every calendar date by one signed 32-bit number.
//
// From 1 March 2000 on, a day number counts the days since 1 January 1970. Before that it is one
// more, because the counting rule treats the year 2000 as a common year of 365 days. Entry file
// names carry these numbers, so the rule is fixed for good: files written by earlier runs must
// keep naming the same dates.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace daybrook {

using DayNumber = std::int32_t;

// 1 March 2000: the first day from which a day number is the plain count of days since 1970.
inline constexpr DayNumber first_plain_day = 11017;
inline constexpr int days_per_week = 7;

// 31 December 2050: the last date a user may give the diary.
inline constexpr DayNumber last_diary_day = 29584;

// Whether a year value as found in a date text is a leap year. A value from 70 to 99 means
// 1900 + value; any other value means 2000 + value (so 100 tests 2100, which is not a leap year).
// Defined for every int, negative values included.
constexpr bool leap_year(int year_value) noexcept {
    // Widened so that 2000 + value cannot overflow.
    const long long year = (year_value >= 70 && year_value <= 99 ? 1900LL : 2000LL) + year_value;
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Whether an entry on this day of this month may repeat every year. 29 February may not: a
// renewal a year on would find no such day.
constexpr bool may_repeat_yearly(int day, int month) noexcept { return !(day == 29 && month == 2); }

// Days in month 1..12 of the year value (February follows leap_year). Returns 0 for other months.
constexpr int month_length(int month, int year_value) noexcept {
    constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && leap_year(year_value) ? 29 : lengths[month - 1];
}

// The values of a "day/month/year" text, the one reader of that form: each part is read like
// atoi (saturating) from its start, so anything after a part's digits is ignored. The day is the
// text before the first '/', the month the text between the first and the second, the year the
// text after the second.
struct DateParts {
    int day = 0;
    int month = 0;
    int year = 0;  // the year value as written
};
DateParts date_parts(std::string_view text) noexcept;

// The day number of a date given as its parts, without validating them. The year value is
// two-digit (00-50 for 2000-2050, 51-99 for 1951-1999) or years since 1900 (126 for 2026).
// The day counts by its absolute value, a month above 12 adds the whole year, and a year value
// that lies below 70 after the 100 is added to values below 51 (a negative one) counts no years.
// Every value gives a number >= 0, in a time that does not grow with the year value; a count
// beyond DayNumber gives its maximum. For a local date, the year value is the full year - 1900.
DayNumber day_number_of(int day, int month, int year_value) noexcept;
inline DayNumber day_number_of(const DateParts& parts) noexcept {
    return day_number_of(parts.day, parts.month, parts.year);
}

struct CalendarDate {
    int day = 1;      // [1, 31]
    int month = 1;    // [1, 12]
    int year = 1970;  // full year
    int weekday = 4;  // [0, 6], 0 is Sunday
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// Days since 1 January 1970 by the Gregorian calendar, as calendar files count them. A day
// number is the same count from 1 March 2000 on and one more before.
using PlainDay = std::int64_t;
constexpr PlainDay plain_day_of(DayNumber day) noexcept { return day >= first_plain_day ? day : PlainDay{day} - 1; }
// The day number of a plain day from 1 January 1970 to 31 December 2050.
constexpr DayNumber diary_day_of(PlainDay day) noexcept {
    return static_cast<DayNumber>(day >= first_plain_day ? day : day + 1);
}

// The Gregorian date that lies n plain days after 1 January 1970 (before it for negative n) and
// its weekday. The dates are those of the years -32767 to 32767, about 11 million days either way
// of 1970; a day beyond them gives the first or last day of that range.
CalendarDate plain_day_to_calendar(PlainDay n) noexcept;

// The date that the day number n names: every reader of entries shows a day through this, so an
// entry of 25/12/99 is shown on the date its record holds.
CalendarDate day_to_calendar(DayNumber n) noexcept;

// "dd/mm/yy" of day_to_calendar(n), with the year modulo 100 (so always eight characters).
std::string day_to_date(DayNumber n);

// "dd/mm/yy" of a calendar date given as day, month and year value (any of the forms above).
// Each value is written as printf's "%02d" writes it, without any modulo: a year value of 126
// stays "126" and -5 is "-5".
std::string format_date(int day, int month, int year_value);

}  // namespace daybrook
