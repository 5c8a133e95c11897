// The short forms of a typed date besides "dd/mm/yy": a day name stands for one of the next
// twenty dates on that weekday, a whole number for that many days ahead.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/day_number.h"

namespace daybrook {

enum class DateForm { plain, days_ahead, day_name };

// How a typed date text is meant: without "/" it is a day name when it holds any of the letters
// "MTWFSmtwfs", else a number of days ahead when it holds any of the digits 1 to 9; anything
// else is a plain date.
DateForm classify_date_text(std::string_view text) noexcept;

// The dates offered for a weekday: the first day from `from` on (from itself included) that
// falls on it, then every seventh day, twenty at most and none after 31 December 2050.
// A weekday outside 0 to 6, or a `from` after that day, gives none.
std::vector<DayNumber> weekday_dates(DayNumber from, int weekday);

// Why a short form of date stands for no date; the codes index short_form_message().
enum class ShortFormError { none, unknown_day_name, no_day_left, not_ahead, after_last_day };

struct ShortFormDates {
    ShortFormError error = ShortFormError::none;
    std::vector<DayNumber> days;  // nearest first; empty with an error
};

// The dates a typed day name offers from `today` on: those of weekday_dates, or why none.
ShortFormDates day_name_dates(std::string_view text, DayNumber today);

// The date `days` days after `today`: it must be at least one day ahead and no later than
// 31 December 2050.
ShortFormDates days_ahead_dates(int days, DayNumber today);

// The message for a code other than ShortFormError::none (which gives an empty text).
std::string_view short_form_message(ShortFormError error) noexcept;

// The line shown for a date in the choice list, for example
// "Tuesday 5 January (05/01/27)".
std::string date_choice_line(DayNumber day);

}  // namespace daybrook
