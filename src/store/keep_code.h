// How long entries whose day has passed are kept: the five choices of "Keep old Entries".
#pragma once

#include <string_view>

#include "calendar/day_number.h"

namespace daybrook {

// The stored values 0 to 4 are the diary's choices. An edited settings file may hold any other
// number; such a code is kept as read (and saved back so), and behaves as `for_ever`: it never
// lets anything expire.
enum class KeepCode : int { none = 0, week = 1, month = 2, year = 3, for_ever = 4 };

// Whether the code is one of the five choices.
bool is_known(KeepCode code) noexcept;

// Whether old entries are kept at all; they are with every code but `none`.
constexpr bool keeps_old_entries(KeepCode code) noexcept { return code != KeepCode::none; }

// Days kept: 0, 7, 31, 365, 36500; an unknown code counts as `for_ever`, here and below.
int keep_days(KeepCode code) noexcept;

// The title text: empty for `none`, "Saving Entries for One Week", ... "Saving Entries Forever".
std::string_view keep_caption(KeepCode code) noexcept;

// The oldest day whose entries may still be held: max(today - keep_days, last_set).
DayNumber oldest_day(DayNumber today, KeepCode code, DayNumber last_set) noexcept;

}  // namespace daybrook
