#include "store/alarm_level.h"

#include <gtest/gtest.h>

#include "store/memo.h"

namespace daybrook {
namespace {

TEST(AlarmLevel, RisesWithTheMostImportantEntryShownAndNeverFalls) {
    using enum AlarmLevel;
    struct Case {
        AlarmLevel before;
        DayNumber day;
        std::string text;
        int red;
        AlarmLevel after;
    };
    const Case cases[] = {
        {none, 20795, "later", 0, week},
        {none, 20793, "today", 0, today},
        {none, 20793, "today", 1, red_letter_today},
        {none, 20795, "red later", 1, week},
        {none, 20793, "", 1, none},
        {today, 20792, "yesterday", 0, today},
        {red_letter_today, 20793, "today", 0, red_letter_today},
        {week, 20793, "", 0, week},
    };
    for (const Case& c : cases) {
        const EntryRecord entry = Memo(c.text).red(c.red);
        EXPECT_EQ(raised_alarm_level(c.before, c.day, 20793, entry), c.after)
            << c.day << ' ' << c.text;
    }
}

}  // namespace
}  // namespace daybrook
