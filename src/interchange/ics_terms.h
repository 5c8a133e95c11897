// What the diary's calendar files and the diary agree on: the category of red-letter days, the
// length of a memo, and how the days of a calendar count as day numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "calendar/day_number.h"

namespace daybrook {

// The category that marks a red-letter day. A calendar file's category counts as it when it
// reads the same with letter case, spaces, hyphens and underscores left aside ("red-letter day").
inline constexpr std::string_view red_letter_category = "Red Letter Day";
bool names_red_letter_day(std::string_view category);

// The characters a memo keeps when it comes from a calendar file, as many as New Entry takes.
inline constexpr std::size_t memo_limit = 60;

// The memo with every control character (a line break, a tab) made a space: a memo is one line.
std::string one_line(std::string_view text);

// Days since 1 January 1970 by the Gregorian calendar. A day number is the same count from
// 1 March 2000 on and one more before (the diary counts 2000 as a common year).
using PlainDay = std::int64_t;
PlainDay plain_day(int year, int month, int day);
PlainDay plain_day_of(DayNumber day);
// The day number of a plain day from 1 January 1970 to 31 December 2050.
DayNumber diary_day_of(PlainDay day);

}  // namespace daybrook
