#include "store/alarm_level.h"

#include <algorithm>

namespace daybrook {

AlarmLevel raised_alarm_level(AlarmLevel level, DayNumber day, DayNumber today,
                              const EntryRecord& entry) noexcept {
    if (entry.text.empty()) return level;
    AlarmLevel found = AlarmLevel::week;
    if (day == today) found = entry.red != 0 ? AlarmLevel::red_letter_today : AlarmLevel::today;
    return std::max(level, found);
}

}  // namespace daybrook
