// The alarm level: how important the most important entry of the shown week is.
#pragma once

#include "calendar/day_number.h"
#include "store/entry_record.h"

namespace daybrook {

// 0 nothing, 1 an entry on another shown day, 2 an entry today, 3 a red-letter entry today.
enum class AlarmLevel { none = 0, week = 1, today = 2, red_letter_today = 3 };

// The level after finding this entry on the given day. Empty texts leave it alone, and a level
// is never lowered.
AlarmLevel raised_alarm_level(AlarmLevel level, DayNumber day, DayNumber today,
                              const EntryRecord& entry) noexcept;

}  // namespace daybrook
