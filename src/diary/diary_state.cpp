#include "diary/diary_state.h"

namespace daybrook {

void set_keep_code(RetentionState& retention, KeepCode code, DayNumber today) {
    retention.keep_code = code;
    retention.oldest_day = oldest_day(today, code, retention.last_set);
}

RetentionLimit retention_limit(const RetentionState& retention) {
    return {keeps_old_entries(retention.keep_code), retention.oldest_day};
}

void view_this_week(DiaryState& state) {
    state.view.page_mode = PageMode::week;
    state.view.start_day = state.today;
}

void move_week_on(ViewState& view) { view.start_day += days_per_week; }

bool move_week_back(ViewState& view, DayNumber earliest_day) {
    if (view.start_day <= earliest_day) return false;
    view.start_day -= days_per_week;
    return true;
}

}  // namespace daybrook
