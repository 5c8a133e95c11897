// The same date a year on, as the yearly renewal carries an entry over and as the sync follows a
// yearly entry to its copies: one rule for both.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calendar/day_number.h"

namespace daybrook {

struct NextYear {
    std::string date;  // "dd/mm/yy"
    DayNumber day = 0;
};

// The date one year on from a stored "dd/mm/yy", the year 99 wrapping to 00: its text, and the
// day that text counts to (29/02/29 counts to 1 March 2029). Nothing for a text the diary never
// writes, and for a date whose next year would not follow it inside the diary (2050 would
// become 1951).
std::optional<NextYear> next_year(std::string_view date);

}  // namespace daybrook
