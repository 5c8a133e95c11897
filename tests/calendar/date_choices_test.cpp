#include "calendar/date_choices.h"
#include "support/typed_day.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace daybrook {
namespace {

TEST(DateChoices, ClassifiesTypedDatesBySlashLettersAndDigits) {
    struct Case { std::string_view typed; DateForm form; };
    const Case cases[] = {
        {"tue", DateForm::day_name},     {"Tuesday", DateForm::day_name},
        {"S", DateForm::day_name},       {"3 days", DateForm::day_name},  // the s makes it a name
        {"14", DateForm::days_ahead},    {"+5", DateForm::days_ahead},
        {"-3", DateForm::days_ahead},    {"10", DateForm::days_ahead},
        {"0", DateForm::plain},          {"00", DateForm::plain},
        {"", DateForm::plain},           {"12/5", DateForm::plain},
        {"05/01/27", DateForm::plain},   {"tue/", DateForm::plain},
        {"hello", DateForm::plain},      // none of the weekday letters
    };
    for (const auto& c : cases)
        EXPECT_EQ(classify_date_text(c.typed), c.form) << '"' << c.typed << '"';
}

TEST(DateChoices, OffersTwentyWeeklyDatesFromTheFirstOnTheWeekdayAndNoneAfter2050) {
    // 6 December 2026 is a Sunday; 31 December 2050 a Saturday.
    constexpr DayNumber sunday = 20793;
    struct Case { DayNumber from; int weekday; std::size_t count; DayNumber first; };
    const Case cases[] = {
        {sunday, 2, 20, date_to_day("08/12/26")},
        {sunday, 0, 20, sunday},  // today itself when it is that weekday
        {sunday, 6, 20, sunday + 6},
        {last_diary_day - 19 * 7, 6, 20, last_diary_day - 19 * 7},
        {last_diary_day - 19 * 7 + 1, 6, 19, last_diary_day - 18 * 7},
        {last_diary_day - 10, 3, 2, date_to_day("21/12/50")},  // from a Wednesday
        {last_diary_day - 10, 1, 1, date_to_day("26/12/50")},
        {last_diary_day, 6, 1, last_diary_day},
        {last_diary_day, 0, 0, 0},
        {last_diary_day + 1, 0, 0, 0},
        {sunday, 7, 0, 0},
        {sunday, -1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from << " weekday " << c.weekday);
        const std::vector<DayNumber> dates = weekday_dates(c.from, c.weekday);
        ASSERT_EQ(dates.size(), c.count);
        if (dates.empty()) continue;
        EXPECT_EQ(dates.front(), c.first);
        for (std::size_t k = 0; k < dates.size(); ++k) {
            EXPECT_EQ(dates[k], c.first + 7 * static_cast<DayNumber>(k));
            EXPECT_EQ(day_to_calendar(dates[k]).weekday, c.weekday);
        }
        EXPECT_LE(dates.back(), last_diary_day);
    }
    EXPECT_EQ(weekday_dates(sunday, 2).back(), date_to_day("20/04/27"));
}

TEST(DateChoices, WritesChoiceLinesWithFullNamesAndTheDateInParentheses) {
    struct Case { std::string_view date; std::string_view line; };
    const Case cases[] = {
        {"05/01/27", "Tuesday 5 January (05/01/27)"},
        {"08/12/26", "Tuesday 8 December (08/12/26)"},
        {"29/02/28", "Tuesday 29 February (29/02/28)"},
        {"01/03/00", "Wednesday 1 March (01/03/00)"},
        {"31/12/50", "Saturday 31 December (31/12/50)"},
    };
    for (const auto& c : cases) EXPECT_EQ(date_choice_line(date_to_day(c.date)), c.line);
}

}  // namespace
}  // namespace daybrook
