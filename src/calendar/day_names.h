// The names of weekdays and months, and recognition of a typed day name.
#pragma once

#include <array>
#include <string_view>

namespace daybrook {

// Index 0 is Sunday; this index is the weekday number everywhere in the diary.
inline constexpr std::array<std::string_view, 7> day_names = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
inline constexpr std::array<std::string_view, 7> day_abbrevs = {
    "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
// Index 0 is January.
inline constexpr std::array<std::string_view, 12> month_names = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// The weekday whose name begins with the typed text, ignoring letter case; ties go to the
// earlier day from Sunday on ("t" is Tuesday). Returns -1 when no name matches, and for an
// empty text, which names no day (as a prefix it would otherwise pick Sunday).
int find_day_name(std::string_view typed);

}  // namespace daybrook
