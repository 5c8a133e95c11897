// DiaryState: everything the main window knows during one run, and the small operations that
// change it. Nothing of it is cached from the store: entries are read when shown. Dialogs never
// see it: they get the plain values they need and give back results, which the window's
// commands apply here.
#pragma once

#include <string>

#include "calendar/date_check.h"
#include "calendar/day_number.h"
#include "store/alarm_level.h"
#include "store/keep_code.h"

namespace daybrook {

enum class PageMode { none = 0, week = 1, search_results = 2 };

struct ViewState {
    PageMode page_mode = PageMode::none;
    DayNumber start_day = 0;  // the week page shows start_day - 1 to start_day + 6
    std::string search_word;  // folded to lower case unless the search is case sensitive
    bool case_sensitive = false;
    bool show_all = false;
};

struct RetentionState {
    KeepCode keep_code = KeepCode::none;
    DayNumber last_set = 0;
    DayNumber oldest_day = 0;
    // False when the settings file exists but could not be read: the user's choice is unknown,
    // so nothing expires in this run and the file is not rewritten.
    bool choice_known = true;
    // True when there was no settings file: the defaults stand in for a choice the user may have
    // made on another account, so they let no entry expire at a close without a memo of an
    // earlier one (see purge_old).
    bool settings_missing = false;
    // True once the user has chosen in "Keep old Entries" during this run: only such a choice may
    // shorten the time for which the last close kept old entries.
    bool chosen_in_run = false;
};

struct DiaryState {
    DayNumber today = 0;  // fixed for the whole run, also past midnight
    RetentionState retention;
    ViewState view;
    AlarmLevel alarm_level = AlarmLevel::none;
    DayNumber earliest_day = 0;  // Last Week goes no further back than this
    bool sounds_on = true;
    bool sound_played = false;
};

// Sets the retention choice; the oldest day held follows it.
void set_keep_code(RetentionState& retention, KeepCode code, DayNumber today);

// What a typed date is checked against.
RetentionLimit retention_limit(const RetentionState& retention);

// Puts the week page at this week: yesterday to six days ahead.
void view_this_week(DiaryState& state);

// Moves the week page a week on; there is no limit.
void move_week_on(ViewState& view);

// Moves the week page a week back, unless it already starts at or before the earliest entry.
// Returns whether it moved.
bool move_week_back(ViewState& view, DayNumber earliest_day);

}  // namespace daybrook
