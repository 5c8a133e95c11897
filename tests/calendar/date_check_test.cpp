#include "calendar/date_check.h"
#include "support/typed_day.h"

#include <gtest/gtest.h>

#include <string>

namespace daybrook {
namespace {

constexpr DayNumber today = 20793;                          // 6 December 2026
constexpr RetentionLimit not_kept{false, 0};
constexpr RetentionLimit kept_for_ever{true, 0};
constexpr RetentionLimit kept_a_week{true, today - 7};         // 29 November 2026

struct Row {
    std::string text;
    DateError error;
    int day = 0, month = 0, year = 0;  // checked for accepted rows only
};

// Runs rows that lie in the future or, where dates may be past, are still held.
void expect_rows(const std::vector<Row>& rows, PastDates past, RetentionLimit limit) {
    for (const auto& row : rows) {
        const DateCheck result = check_date(past, row.text, today, limit);
        EXPECT_EQ(result.error, row.error) << '"' << row.text << '"';
        if (row.error != DateError::none) continue;
        EXPECT_EQ(result.day, row.day) << row.text;
        EXPECT_EQ(result.month, row.month) << row.text;
        EXPECT_EQ(result.year, row.year) << row.text;
        // What the dialog then converts is the typed text itself: it must name the same day.
        const auto checked = format_date(row.day, row.month, row.year);
        EXPECT_EQ(date_to_day(row.text), date_to_day(checked)) << row.text;
    }
}

TEST(DateCheck, NeedsTwoSlashesAndAYearDigitAndIgnoresOtherCharacters) {
    expect_rows({
        {"1/2", DateError::slash_missing}, {"1/2/3/4", DateError::slash_missing},
        {"", DateError::slash_missing}, {"12-05-27", DateError::slash_missing},
        {"12/05/", DateError::no_year}, {"12/05/abc", DateError::no_year},
        {"12/05/ - ", DateError::no_year}, {"//", DateError::no_year},
        {"12x/05y/27", DateError::none, 12, 5, 27}, {"12/05/27abc", DateError::none, 12, 5, 27},
        {" 6/ 1/ 27", DateError::none, 6, 1, 27}, {"+6/+1/+27", DateError::none, 6, 1, 27},
        {std::string(5000, ' ') + "6/1/27" + std::string(100000, 'x'), DateError::none, 6, 1, 27},
    }, PastDates::refused, not_kept);
}

TEST(DateCheck, ChecksTheMonthBeforeTheDayAndTheDayAgainstTheMonth) {
    expect_rows({
        {"//27", DateError::bad_month}, {"1/13/27", DateError::bad_month},
        {"1/-1/27", DateError::bad_month}, {"0/1/27", DateError::bad_day},
        {"-1/1/27", DateError::bad_day}, {"31/4/27", DateError::bad_day},
        {"32/1/27", DateError::bad_day}, {"29/2/27", DateError::bad_day},
        {"99999999999/1/27", DateError::bad_day},
        {"29/2/28", DateError::none, 29, 2, 28}, {"29/2/48", DateError::none, 29, 2, 48},
        {"31/12/50", DateError::none, 31, 12, 50}, {"30/4/27", DateError::none, 30, 4, 27},
    }, PastDates::refused, not_kept);
}

TEST(DateCheck, AcceptsTwoDigitYearsUpTo50And98And99Only) {
    expect_rows({
        {"12/05/2027", DateError::bad_year}, {"12/05/51", DateError::bad_year},
        {"12/05/97", DateError::bad_year}, {"12/05/126", DateError::bad_year},
        {"1/1/99999999999", DateError::bad_year},
        // A negative year would otherwise be read as a year of the 1900s.
        {"1/1/-5", DateError::bad_year}, {"1/1/-50", DateError::bad_year},
        {"12/05/99", DateError::none, 12, 5, 99}, {"12/05/98", DateError::none, 12, 5, 98},
        {"12/05/00", DateError::none, 12, 5, 0}, {"29/02/00", DateError::none, 29, 2, 0},
        {"12/05/a7", DateError::none, 12, 5, 0}, {"12/05/-0", DateError::none, 12, 5, 0},
        {"12/05/7", DateError::none, 12, 5, 7},
    }, PastDates::allowed, kept_for_ever);
}

TEST(DateCheck, RefusesPastDatesWhenOldEntriesAreNotKept) {
    for (const auto past : {PastDates::refused, PastDates::allowed}) {
        expect_rows({
            {"06/12/26", DateError::none, 6, 12, 26}, {"07/12/26", DateError::none, 7, 12, 26},
            {"05/12/26", DateError::already_past}, {"12/05/99", DateError::already_past},
        }, past, not_kept);
    }
}

TEST(DateCheck, AllowsHeldPastDatesOnlyWherePastDatesAreAllowed) {
    expect_rows({
        {"06/12/26", DateError::none, 6, 12, 26}, {"05/12/26", DateError::past_not_allowed},
        {"29/11/26", DateError::past_not_allowed}, {"28/11/26", DateError::too_old},
        {"01/11/26", DateError::too_old},
    }, PastDates::refused, kept_a_week);
    expect_rows({
        {"06/12/26", DateError::none, 6, 12, 26}, {"05/12/26", DateError::none, 5, 12, 26},
        {"29/11/26", DateError::none, 29, 11, 26}, {"28/11/26", DateError::too_old},
        {"01/11/26", DateError::too_old},
    }, PastDates::allowed, kept_a_week);
}

TEST(DateCheck, GivesTheDiarysMessageForEachCode) {
    const std::pair<DateError, std::string_view> messages[] = {
        {DateError::none, ""},
        {DateError::slash_missing, "Invalid Date - '/' missing"},
        {DateError::bad_year, "The year given is invalid"},
        {DateError::bad_month, "The Month given is invalid"},
        {DateError::bad_day, "The day given is invalid"},
        {DateError::already_past, "The date given has already past!"},
        {static_cast<DateError>(6), ""},
        {DateError::no_year, "No year given"},
        {DateError::too_old, "You hold no entries so old!"},
        {DateError::past_not_allowed, "Past entries are not allowed!"},
        {static_cast<DateError>(10), ""},
    };
    for (const auto& [error, text] : messages) EXPECT_EQ(date_message(error), text);
}

}  // namespace
}  // namespace daybrook
