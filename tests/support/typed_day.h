// Test shorthand: the day number of a "dd/mm/yy" text, so that tests can name days as a user
// types them.
#pragma once

#include <string_view>

#include "calendar/day_number.h"

namespace daybrook {

inline DayNumber date_to_day(std::string_view text) noexcept { return day_number_of(date_parts(text)); }

}  // namespace daybrook
