#include "calendar/day_number.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "calendar/text_helpers.h"

namespace daybrook {

namespace {

static_assert(leap_year(0) && leap_year(96) && leap_year(48) && leap_year(-4));
static_assert(!leap_year(50) && !leap_year(100) && !leap_year(-100) && !leap_year(70));
static_assert(leap_year(72) && leap_year(104) && !leap_year(200) && leap_year(400));
static_assert(!leap_year(INT_MAX) && leap_year(INT_MIN));
static_assert(month_length(2, 100) == 28 && month_length(2, 28) == 29 && month_length(13, 28) == 0);

// Leap years of the Gregorian calendar from year 1 to year - 1. Precondition: year >= 1.
constexpr std::int64_t leap_years_before(std::int64_t year) noexcept {
    const auto y = year - 1;
    return y / 4 - y / 100 + y / 400;
}

// The days the counting rule gives to the year values 70 to y - 1: 1970 to 1999 with their own
// lengths, then each value i from 100 on with the length of the year 2000 + i (so the year 2000
// counts 365). The same as adding 365 or 366 by leap_year() value by value, in constant time.
// Returns [0, 365 * y + y / 4] for any int y.
constexpr std::int64_t days_before_year(std::int64_t y) noexcept {
    if (y <= 70) return 0;
    const auto last_century_end = std::min<std::int64_t>(y, 100);  // [71, 100]
    auto leaps = leap_years_before(1900 + last_century_end) - leap_years_before(1970);
    if (y > 100) leaps += leap_years_before(2000 + y) - leap_years_before(2100);
    return 365 * (y - 70) + leaps;
}

static_assert(days_before_year(99) == 29 * 365 + 7 && days_before_year(100) == 10957);
static_assert(days_before_year(101) == 10957 + 365);
static_assert(days_before_year(129) == 10957 + 29 * 365 + 7);

// The days of the months before month in the year value. The months stop at December, so a
// month above 12 counts the whole year and one below 1 counts nothing.
constexpr int days_before_month(int month, int year_value) noexcept {
    int days = 0;  // [0, 366]
    for (int j = 1; j < month && j <= 12; ++j) days += month_length(j, year_value);
    return days;
}

// The day number of the parts as read from a date text. Precondition: day >= 0.
// Returns [0, 2^40).
constexpr std::int64_t count_days(std::int64_t day, int month, int year_value) noexcept {
    const int y = year_value < 51 ? year_value + 100 : year_value;  // years since 1900
    return days_before_year(y) + days_before_month(month, y) + day;
}

static_assert(count_days(1, 1, 70) == 1 && count_days(31, 12, 99) == 10957);
static_assert(count_days(29, 2, 0) == first_plain_day && count_days(1, 3, 0) == first_plain_day);
static_assert(count_days(6, 12, 26) == 20793 && count_days(6, 12, 126) == 20793);
static_assert(count_days(31, 12, 50) == last_diary_day);

using std::chrono::December;
using std::chrono::January;
using std::chrono::year;

// The day numbers of the first and last day that std::chrono::year_month_day can hold.
constexpr DayNumber earliest_calendar_day = static_cast<DayNumber>(
    std::chrono::sys_days{year::min() / January / 1}.time_since_epoch().count());
constexpr DayNumber latest_calendar_day = static_cast<DayNumber>(
    std::chrono::sys_days{year::max() / December / 31}.time_since_epoch().count());

constexpr CalendarDate calendar_of(DayNumber n) noexcept {
    const auto clamped = std::clamp(n, earliest_calendar_day, latest_calendar_day);
    const std::chrono::sys_days day{std::chrono::days{clamped}};
    const std::chrono::year_month_day date{day};
    return {static_cast<int>(unsigned{date.day()}), static_cast<int>(unsigned{date.month()}),
            int{date.year()}, static_cast<int>(std::chrono::weekday{day}.c_encoding())};
}

static_assert(calendar_of(0) == CalendarDate{1, 1, 1970, 4});
static_assert(calendar_of(-1) == CalendarDate{31, 12, 1969, 3});
static_assert(calendar_of(first_plain_day) == CalendarDate{1, 3, 2000, 3});
static_assert(calendar_of(last_diary_day) == CalendarDate{31, 12, 2050, 6});

}  // namespace

DateParts date_parts(std::string_view text) noexcept {
    const auto rest = view_after(text, "/");
    return {text_to_int(view_before(text, "/")), text_to_int(view_before(rest, "/")), text_to_int(view_after(rest, "/"))};
}

DayNumber day_number_of(int day, int month, int year_value) noexcept {
    const auto n = count_days(std::abs(static_cast<std::int64_t>(day)), month, year_value);
    return static_cast<DayNumber>(std::min<std::int64_t>(n, std::numeric_limits<DayNumber>::max()));
}

CalendarDate plain_day_to_calendar(PlainDay n) noexcept {
    return calendar_of(static_cast<DayNumber>(std::clamp<PlainDay>(n, earliest_calendar_day, latest_calendar_day)));
}

CalendarDate day_to_calendar(DayNumber n) noexcept { return plain_day_to_calendar(plain_day_of(n)); }

std::string day_to_date(DayNumber n) {
    const CalendarDate date = day_to_calendar(n);
    // Floored, so that the years before year 0 give two digits as well.
    return format_date(date.day, date.month, (date.year % 100 + 100) % 100);
}

std::string format_date(int day, int month, int year_value) {
    char text[3 * 11 + 3];  // three ints of up to 11 characters, two '/' and the terminator
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", day, month, year_value);
    return text;
}

}  // namespace daybrook
