#include "diary/diary_state.h"

#include <gtest/gtest.h>

namespace daybrook {
namespace {

constexpr DayNumber today = 20793;  // 6 December 2026

TEST(DiaryState, ChangingTheKeepCodeMovesTheOldestDayAndTheDateLimit) {
    struct Case {
        KeepCode code;
        DayNumber last_set, oldest;
        bool kept;
    };
    for (const Case& c : {Case{KeepCode::none, 20000, today, false}, Case{KeepCode::week, 20000, today - 7, true},
                          Case{KeepCode::year, 20500, 20500, true}, Case{KeepCode::for_ever, 20000, 20000, true},
                          Case{KeepCode{9}, 20000, 20000, true}}) {
        RetentionState retention{.keep_code = KeepCode::month, .last_set = c.last_set, .oldest_day = 1};
        set_keep_code(retention, c.code, today);
        EXPECT_EQ(retention.keep_code, c.code);
        EXPECT_EQ(retention.oldest_day, c.oldest) << static_cast<int>(c.code);
        EXPECT_EQ(retention_limit(retention).old_entries_kept, c.kept) << static_cast<int>(c.code);
        EXPECT_EQ(retention_limit(retention).oldest_day, c.oldest) << static_cast<int>(c.code);
    }
}

TEST(DiaryState, WeeksMoveOnWithoutLimitAndBackOnlyWhileEntriesLieEarlier) {
    DiaryState state{.today = today, .earliest_day = today - 1};
    state.view.page_mode = PageMode::search_results;
    view_this_week(state);
    EXPECT_EQ(state.view.page_mode, PageMode::week);
    EXPECT_EQ(state.view.start_day, today);
    EXPECT_TRUE(move_week_back(state.view, state.earliest_day));
    EXPECT_EQ(state.view.start_day, today - 7);
    EXPECT_FALSE(move_week_back(state.view, state.earliest_day)) << "at or before the earliest entry";
    EXPECT_EQ(state.view.start_day, today - 7);
    for (int week = 0; week < 2000; ++week) move_week_on(state.view);
    EXPECT_EQ(state.view.start_day, today - 7 + 14000) << "past 2050 as long as the user asks";
    // The bound itself: a week that starts on the earliest day goes back no further.
    const DayNumber earliest = today - 40;
    for (const auto& [start, moves] : {std::pair{earliest + 1, true}, {earliest, false}, {earliest - 1, false}}) {
        ViewState view{.page_mode = PageMode::week, .start_day = start};
        EXPECT_EQ(move_week_back(view, earliest), moves) << start - earliest;
        EXPECT_EQ(view.start_day, moves ? start - 7 : start) << start - earliest;
    }
}

}  // namespace
}  // namespace daybrook
