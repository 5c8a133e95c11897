// The dates the terminal commands take. Besides New Entry's forms ("dd/mm/yy", a day name, a
// number of days ahead) a shell user types "today", "tomorrow", "0", "24/12/2026" and the ISO
// "2026-12-24"; those are read here as the "dd/mm/yy" date they stand for, so that every check
// and message is New Entry's. New Entry itself keeps its own forms.
#pragma once

#include <string>
#include <string_view>

#include "calendar/date_check.h"
#include "calendar/date_choices.h"
#include "calendar/day_number.h"

namespace daybrook {

// The day of a typed date, with the form it was typed in; or New Entry's message for why it is
// refused.
struct TypedDay {
    DayNumber day = 0;
    DateForm form = DateForm::plain;
    std::string_view refusal;
};

// The date as New Entry would be given it: the terminal's own forms as "dd/mm/yy", any other
// text as typed. A four-digit year outside those "yy" can give stays four digits, and so is
// refused as New Entry refuses a year it does not hold.
std::string new_entry_date_text(std::string_view typed, DayNumber today);

// The day the text names: a day name is the next such day from today, today included; a whole
// number that many days ahead; anything else a dated day, checked against `past` and `limit`.
TypedDay typed_day(std::string_view typed, DayNumber today, PastDates past, RetentionLimit limit);

}  // namespace daybrook
