#include "window/compose_page.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "calendar/day_number.h"
#include "store/entry_files.h"
#include "support/stored_entry.h"
#include "support/temp_dir.h"
#include "support/typed_day.h"

namespace daybrook {
namespace {

using testing::TempDir;

constexpr DayNumber today = 20793;  // Sunday 6 December 2026
constexpr LocalTime nine_oh_five{2026, 12, 6, 9, 5};
// A client area of 630 x 435 gives a character height of 17 and a line step of 25.
constexpr PageGeometry usual{.client_width = 630, .client_height = 435, .font_height = 17, .xxx_width = 36};

class ComposePage : public ::testing::Test {
protected:
    void put(DayNumber day, int slot, std::string text, std::int32_t red = 0, std::int32_t yearly = 0) {
        const EntryRecord record{.text = std::move(text), .date = day_to_date(day), .yearly = yearly, .red = red};
        testing::put_entry(store.path(), entry_file_name(day, slot), record);
    }
    ComposedPage week(DayNumber start_day, PageGeometry geometry = usual) {
        state.view = {.page_mode = PageMode::week, .start_day = start_day};
        return compose_page(state, nine_oh_five, store.path(), geometry);
    }
    ComposedPage search(std::string word, bool case_sensitive = false, bool show_all = false) {
        state.view = {.page_mode = PageMode::search_results, .start_day = today, .search_word = std::move(word),
                      .case_sensitive = case_sensitive, .show_all = show_all};
        return compose_page(state, nine_oh_five, store.path(), usual);
    }

    TempDir store;
    DiaryState state{.today = today};
};

const PageItem* find_text(const ComposedPage& page, std::string_view text) {
    const auto found = std::find_if(page.items.begin(), page.items.end(),
                                    [&](const PageItem& item) { return item.text == text; });
    return found == page.items.end() ? nullptr : &*found;
}

// The items drawn on one line, left to right.
std::vector<std::string> line_at(const ComposedPage& page, int y) {
    std::vector<PageItem> line;
    std::copy_if(page.items.begin(), page.items.end(), std::back_inserter(line),
                 [&](const PageItem& item) { return item.y == y && item.font == FontRole::page; });
    std::sort(line.begin(), line.end(), [](const PageItem& a, const PageItem& b) { return a.x < b.x; });
    std::vector<std::string> texts;
    for (const PageItem& item : line) texts.push_back(item.text);
    return texts;
}

TEST_F(ComposePage, TheClockLineIsDrawnInEveryModeAndATinyWindowShowsNothingElse) {
    put(today, 0, "dentist", 1);
    const PageItem clock{"Time now: 9:05 hrs.", 250, 355, colours::text, FontRole::standard};
    state.view.page_mode = PageMode::none;
    EXPECT_EQ(compose_page(state, nine_oh_five, store.path(), usual).items, std::vector<PageItem>{clock});

    const ComposedPage tiny = week(today, {.client_width = 540, .client_height = 180, .font_height = 7, .xxx_width = 36});
    EXPECT_EQ(tiny.items, std::vector<PageItem>{clock});
    EXPECT_EQ(tiny.alarm_level, AlarmLevel::none) << "a page not drawn raises no alarm";
    EXPECT_EQ(tiny.last_week, ButtonChange::unchanged);

    const ComposedPage wide = week(today, {.client_width = 541, .client_height = 180, .font_height = 7, .xxx_width = 36});
    EXPECT_NE(find_text(wide, "dentist"), nullptr) << "only a window small both ways hides the page";
    EXPECT_EQ(compose_page(state, {2026, 12, 6, 23, 59}, store.path(), usual).items.front().text,
              "Time now: 23:59 hrs.");
}

TEST_F(ComposePage, TheWeekPageLaysEightDaysOutInItsColumns) {
    const ComposedPage page = week(today);
    EXPECT_EQ(page.last_week, ButtonChange::show);
    EXPECT_EQ(page.next_week, ButtonChange::unchanged);
    EXPECT_EQ(*find_text(page, "The Next Seven Days:"), (PageItem{"The Next Seven Days:", 10, 10, colours::text}));
    EXPECT_EQ(*find_text(page, "Year 2026"), (PageItem{"Year 2026", 400, 10, colours::red_letter}));
    // Yesterday, white, on the first row at y 50; December's numbers at 72 + 15 * 8.
    EXPECT_EQ(*find_text(page, "Sat"), (PageItem{"Sat", 18, 50, colours::ghost}));
    EXPECT_EQ(*find_text(page, "5"), (PageItem{"5", 192, 50, colours::ghost}));
    // Today and the six days after, one line each, in blue.
    EXPECT_EQ(*find_text(page, "Sun"), (PageItem{"Sun", 18, 75, colours::date}));
    EXPECT_EQ(line_at(page, 75), (std::vector<std::string>{"Sun", "December", "6"}));
    EXPECT_EQ(line_at(page, 225), (std::vector<std::string>{"Sat", "December", "12"}));
    EXPECT_TRUE(line_at(page, 250).empty());
}

TEST_F(ComposePage, HeadersTellWhetherTheWeekIsThisOneAheadOrPast) {
    EXPECT_NE(find_text(week(today + 7), "Looking at weeks ahead:"), nullptr);
    EXPECT_NE(find_text(week(today - 7), "Looking at past weeks:"), nullptr);
    const ComposedPage turn_of_year = week(date_to_day("29/12/26"));
    EXPECT_NE(find_text(turn_of_year, "Year 2027"), nullptr) << "the year of the last row";
    EXPECT_EQ(find_text(turn_of_year, "Year 2026"), nullptr);
}

TEST_F(ComposePage, EntriesStandInSlotOrderBesideAndBelowTheirDate) {
    put(today + 1, 0, "first");
    put(today + 1, 2, "third");  // slot 001 is free: no gap is left for it
    put(today + 1, 3, "");       // an empty memo still takes its line
    put(today + 2, 0, "next day");
    testing::put_entry(store.path(), "DAT20794.010", {.text = "eleventh slot"});
    const ComposedPage page = week(today);
    // Today is at y 75 with no entries; tomorrow starts at 100 with its entries at x 232.
    EXPECT_EQ(line_at(page, 100), (std::vector<std::string>{"Mon", "December", "7", "first"}));
    EXPECT_EQ(line_at(page, 125), (std::vector<std::string>{"third"}));
    EXPECT_EQ(line_at(page, 150), (std::vector<std::string>{""}));
    EXPECT_EQ(line_at(page, 175), (std::vector<std::string>{"Tue", "December", "8", "next day"}));
    EXPECT_EQ(find_text(page, "first")->x, 232);
    EXPECT_EQ(find_text(page, "eleventh slot"), nullptr);
}

TEST_F(ComposePage, EntryColoursFollowTheDayAndTheRedLetterFlag) {
    put(today - 1, 0, "past red", 1);
    put(today, 0, "today red", 1);
    put(today, 1, "today plain");
    put(today + 3, 0, "later plain");
    const ComposedPage page = week(today);
    EXPECT_EQ(find_text(page, "past red")->colour, colours::ghost);
    EXPECT_EQ(find_text(page, "today red")->colour, colours::red_letter);
    EXPECT_EQ(find_text(page, "today plain")->colour, colours::entry);
    EXPECT_EQ(find_text(page, "later plain")->colour, colours::entry);
}

TEST_F(ComposePage, TheAlarmLevelRisesWithTheMostImportantEntryShownAndNeverFalls) {
    struct Case { DayNumber day; std::int32_t red; std::string text; AlarmLevel expected; };
    const Case cases[] = {
        {today - 1, 0, "yesterday", AlarmLevel::week},
        {today + 6, 1, "red but not today", AlarmLevel::week},
        {today, 0, "", AlarmLevel::none},
        {today, 0, "today", AlarmLevel::today},
        {today, 1, "red today", AlarmLevel::red_letter_today},
    };
    for (const Case& c : cases) {
        TempDir fresh;
        ASSERT_EQ(add_entry(fresh.path(), c.day, {.text = c.text, .red = c.red}).error, StoreError::none);
        state.view = {.page_mode = PageMode::week, .start_day = today};
        state.alarm_level = AlarmLevel::none;
        EXPECT_EQ(compose_page(state, nine_oh_five, fresh.path(), usual).alarm_level, c.expected) << c.text;
    }
    state.alarm_level = AlarmLevel::today;
    EXPECT_EQ(week(today + 70).alarm_level, AlarmLevel::today) << "an empty week keeps the level";
}

TEST_F(ComposePage, FarFutureAndEarlyCenturyPagesShowTheRightDays) {
    const DayNumber last_day = date_to_day("31/12/50");
    put(last_day, 0, "last day");
    const ComposedPage end = week(last_day - 6);
    EXPECT_EQ(line_at(end, 225), (std::vector<std::string>{"Sat", "December", "31", "last day"}));
    EXPECT_NE(find_text(end, "Year 2050"), nullptr);

    // Before March 2000 a row's day number is one more than its place in the calendar.
    put(date_to_day("28/02/00"), 0, "end of February");
    const ComposedPage early = week(date_to_day("28/02/00") - 1);
    EXPECT_EQ(line_at(early, 75), (std::vector<std::string>{"Mon", "February", "28", "end of February"}));
}

TEST_F(ComposePage, TheSearchPageListsMatchingEntriesWithDateAndYearlyMark) {
    put(today - 2, 0, "Old Dentist visit");
    put(today + 1, 0, "DENTIST again", 1, EntryRecord::yearly_renewed);
    put(today + 2, 0, "dentist, yearly", 0, EntryRecord::yearly_pending);
    put(today + 3, 0, "gardening");
    const ComposedPage page = search("dentist");
    EXPECT_EQ(page.next_week, ButtonChange::hide);
    EXPECT_EQ(page.last_week, ButtonChange::hide);
    EXPECT_EQ(*find_text(page, "Search Results:"), (PageItem{"Search Results:", 10, 10, colours::text}));
    EXPECT_EQ(line_at(page, 40), (std::vector<std::string>{"04/12/26", "Old Dentist visit"}));
    EXPECT_EQ(line_at(page, 65), (std::vector<std::string>{"*", "07/12/26", "DENTIST again"}));
    EXPECT_EQ(find_text(page, "Old Dentist visit")->colour, colours::ghost);
    EXPECT_EQ(find_text(page, "Old Dentist visit")->x, 18 + 92);
    EXPECT_EQ(find_text(page, "DENTIST again")->colour, colours::red_letter);
    EXPECT_EQ(find_text(page, "dentist, yearly")->y, 90);
    EXPECT_EQ(find_text(page, "gardening"), nullptr);
    const auto marks = std::count_if(page.items.begin(), page.items.end(), [](const PageItem& item) {
        return item.text == "*" && item.x == 3 && item.colour == colours::date;
    });
    EXPECT_EQ(marks, 2) << "renewed yearly entries keep their mark";

    EXPECT_EQ(find_text(search("Dentist", true), "DENTIST again"), nullptr);
    EXPECT_NE(find_text(search("Dentist", true), "Old Dentist visit"), nullptr);
    EXPECT_NE(find_text(search("zzz", false, true), "gardening"), nullptr);
}

TEST_F(ComposePage, NoMatchFoundIsBlueWhenEntriesWereReadAndBlackForAnEmptyStore) {
    EXPECT_EQ(*find_text(search("anything"), "No Match Found"), (PageItem{"No Match Found", 18, 40, colours::text}));
    put(today, 0, "something");
    EXPECT_EQ(find_text(search("anything"), "No Match Found")->colour, colours::date);
}

}  // namespace
}  // namespace daybrook
