// DiaryState: everything the main window knows during one run, handed by reference to the
// dialogs it opens. Nothing of it is cached from the store: entries are read when shown.
#pragma once

#include <string>

#include "calendar/day_number.h"
#include "store/alarm_level.h"

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
    int keep_code = 0;
    DayNumber last_set = 0;
    DayNumber oldest_day = 0;
    // False when the settings file exists but could not be read: the user's choice is unknown,
    // so nothing expires in this run.
    bool choice_known = true;
};

struct DiaryState {
    DayNumber today = 0;  // fixed for the whole run, also past midnight
    RetentionState retention;
    ViewState view;
    AlarmLevel alarm_level = AlarmLevel::none;
    DayNumber earliest_day = 0;  // Last Week goes no further back than this
    int sounds_on = 1;           // any non-zero value is on
    bool sound_played = false;
};

}  // namespace daybrook
