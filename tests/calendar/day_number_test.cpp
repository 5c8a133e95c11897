#include "calendar/day_number.h"
#include "support/typed_day.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <limits>

namespace daybrook {
namespace {

constexpr DayNumber max_day = std::numeric_limits<DayNumber>::max();

std::string printed(const char* format, int a, int b, int c) {
    char text[40];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

TEST(DayNumber, CountsKnownDatesWithTheYear2000AsACommonYear) {
    struct Case { std::string_view text; DayNumber expected; };
    const Case cases[] = {
        {"01/01/70", 1}, {"31/12/99", 10957}, {"28/02/00", 11016}, {"29/02/00", 11017},
        {"01/03/00", 11017}, {"31/12/00", 11322}, {"01/01/01", 11323}, {"06/12/26", 20793},
        {"31/12/50", 29584},
        // Other spellings of the same dates.
        {"06/12/126", 20793}, {"6/1/27", 20824}, {"06/01/27", 20824}, {"6/ 1/ 27", 20824},
        {"-6/1/27", 20824}, {"6/01/27 and more", 20824},
        // A month above 12 adds the whole year.
        {"1/13/27", 21184}, {"1/1/28", 21184}, {"1/2147483647/27", 21184},
        {"1/-2147483648/27", 20819},
    };
    for (const auto& c : cases) EXPECT_EQ(date_to_day(c.text), c.expected) << c.text;
}

// The counting rule added up year value by year value, as the diary describes it, against the
// constant-time count: for every year value that matters and then far out to where the count
// no longer fits a day number.
TEST(DayNumber, CountsEveryYearValueLikeTheYearByYearRule) {
    std::int64_t before_year = 0;  // the rule's days for the year values 70 to y - 1
    int checked = 0;
    for (int y = -1000; y <= 6'000'000; ++y) {
        if (y > 70) before_year += leap_year(y - 1) ? 366 : 365;
        const std::int64_t count = before_year + (leap_year(y) ? 366 : 365);
        const bool near_limit = count > max_day - 2000LL && count < max_day + 2000LL;
        const std::int64_t expected = std::min<std::int64_t>(count, max_day);
        if (y > 3000 && y % 9973 != 0 && !near_limit) continue;
        // The text's year value that date_to_day reads as y years since 1900.
        const std::string text = "31/12/" + std::to_string(y < 51 ? y - 100 : y);
        ASSERT_EQ(date_to_day(text), expected) << text;
        ++checked;
    }
    EXPECT_GT(checked, 4500);
}

TEST(DayNumber, AbsurdPartsGiveAnAnswerAtOnceWithoutOverflow) {
    struct Case { std::string_view text; DayNumber expected; };
    const Case cases[] = {
        {"1/1/99999999", max_day}, {"1/1/2147483647", max_day}, {"31/12/99999999999999", max_day},
        {"2147483647/1/2147483647", max_day}, {"-2147483648/12/126", max_day},
        {"1/1/-2147483648", 1}, {"1/1/-50", 1}, {"", 10957},
    };
    for (const auto& c : cases) EXPECT_EQ(date_to_day(c.text), c.expected) << c.text;
}

// Every supported day against <chrono>: the date, the weekday, and both date texts back to the
// day number, which is one more than the plain count before 1 March 2000.
TEST(DayNumber, RoundTripsEveryDayFrom1970To2050) {
    using namespace std::chrono;
    const sys_days epoch = 1970y / January / 1;
    const sys_days plain_from = 2000y / March / 1;
    for (sys_days day = epoch; day <= sys_days{2050y / December / 31}; day += days{1}) {
        const year_month_day date{day};
        const int k = (day - epoch).count();
        const int d = static_cast<int>(unsigned{date.day()});
        const int m = static_cast<int>(unsigned{date.month()});
        const int y = int{date.year()};
        const DayNumber expected = k + (day < plain_from ? 1 : 0);
        ASSERT_EQ(plain_day_to_calendar(k), (CalendarDate{d, m, y, (k + 4) % 7})) << k;
        // 29/02/2000 shares its number with 1 March, the day that number shows.
        if (k != first_plain_day - 1) {
            ASSERT_EQ(day_to_calendar(expected), (CalendarDate{d, m, y, (k + 4) % 7})) << k;
            ASSERT_EQ(day_to_date(expected), printed("%02d/%02d/%02d", d, m, y % 100)) << k;
        }
        ASSERT_EQ(date_to_day(day_to_date(expected)), expected) << k;
        ASSERT_EQ(date_to_day(printed("%02d/%02d/%d", d, m, y - 1900)), expected) << k;
        ASSERT_EQ(day_number_of(d, m, y - 1900), expected) << k;
        ASSERT_EQ(day_number_of(d, m, y % 100), expected) << k;
    }
    EXPECT_EQ(day_to_date(date_to_day("28/02/28") + 1), "29/02/28");
    EXPECT_EQ(day_to_date(date_to_day("28/02/27") + 1), "01/03/27");
}

TEST(DayNumber, GivesDatesAndWeekdaysBefore1970AndClampsBeyondTheCalendar) {
    using namespace std::chrono;
    const auto weekday_of = [](year_month_day date) {
        return static_cast<int>(weekday{sys_days{date}}.c_encoding());
    };
    struct Case { DayNumber n; CalendarDate expected; };
    const Case cases[] = {
        {20793, {6, 12, 2026, 0}}, {29584, {31, 12, 2050, 6}}, {-1, {31, 12, 1969, 3}},
        {-6, {26, 12, 1969, 5}}, {-7, {25, 12, 1969, 4}}, {-719468, {1, 3, 0, 3}},
        {max_day, {31, 12, 32767, weekday_of(year::max() / December / 31)}},
        {INT32_MIN, {1, 1, -32767, weekday_of(year::min() / January / 1)}},
    };
    for (const auto& c : cases) EXPECT_EQ(plain_day_to_calendar(c.n), c.expected) << c.n;
    EXPECT_EQ(day_to_date(INT32_MIN), "01/01/33");
    EXPECT_EQ(day_to_date(max_day), "31/12/67");
}

TEST(DayNumber, FormatsValuesAsGivenWithAtLeastTwoDigits) {
    struct Case { int day, month, year_value; std::string_view expected; };
    const Case cases[] = {
        {6, 12, 126, "06/12/126"}, {5, 1, 7, "05/01/07"}, {1, 1, -5, "01/01/-5"},
        {31, 12, 50, "31/12/50"}, {INT_MIN, INT_MAX, 0, "-2147483648/2147483647/00"},
    };
    for (const auto& c : cases) EXPECT_EQ(format_date(c.day, c.month, c.year_value), c.expected);
}

}  // namespace
}  // namespace daybrook
