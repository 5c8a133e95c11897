#include "calendar/clock.h"

#include <gtest/gtest.h>

#include "support/fake_clock.h"

namespace daybrook {
namespace {

TEST(Clock, TodayIsTheDayNumberOfTheLocalDate) {
    struct Case { LocalTime time; DayNumber expected; };
    const Case cases[] = {
        {{2026, 12, 6, 10, 0}, 20793}, {{2026, 12, 6, 23, 59}, 20793}, {{1970, 1, 1, 0, 0}, 1},
        {{1999, 12, 31, 12, 0}, 10957}, {{2000, 2, 29, 12, 0}, 11017}, {{2000, 3, 1, 0, 0}, 11017},
        {{2050, 12, 31, 12, 0}, 29584}, {{2051, 1, 1, 0, 0}, 29585}, {{2100, 3, 1, 0, 0}, 47541},
    };
    testing::FakeClock clock;
    for (const auto& c : cases) {
        clock.set(c.time);
        EXPECT_EQ(today_from(clock), c.expected)
            << c.time.year << "-" << c.time.month << "-" << c.time.day;
    }
}

}  // namespace
}  // namespace daybrook
