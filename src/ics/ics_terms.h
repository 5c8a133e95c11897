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

// The plain day (see calendar/day_number.h) of a Gregorian date.
PlainDay plain_day(int year, int month, int day);

}  // namespace daybrook
