// Validation of a typed "dd/mm/yy" date against the calendar, today and the retention limit.
#pragma once

#include <string_view>

#include "calendar/day_number.h"

namespace daybrook {

// The codes index date_message(); the numbers are part of the diary's messages table.
enum class DateError {
    none = 0,
    slash_missing = 1,
    bad_year = 2,
    bad_month = 3,
    bad_day = 4,
    already_past = 5,
    no_year = 7,
    too_old = 8,
    past_not_allowed = 9,
};

// Whether the date may lie in the past: refused for new entries, allowed for looking at or
// deleting existing ones.
enum class PastDates { refused, allowed };

struct DateCheck {
    DateError error = DateError::none;
    int day = 0;    // the values as typed; the year as its one- or two-digit value
    int month = 0;
    int year = 0;
    DayNumber day_number = 0;  // the day the date names, once the calendar checks passed
};

// What the checks need to know about retention: whether old entries are kept at all and the
// oldest day still held.
struct RetentionLimit {
    bool old_entries_kept = false;
    DayNumber oldest_day = 0;
};

// Checks the text in the diary's fixed order of steps; the first failing step decides the code:
// two '/' (slash_missing), a digit after the second (no_year), the year value 0 to 50, 98 or 99
// (bad_year; a negative value is refused too), the month (bad_month), the day within the month
// (bad_day), then the date's day number against the retention limit and today: already_past
// when old entries are not kept, too_old before the oldest day held, past_not_allowed before
// today for new entries. Today itself always passes. Safe for a text of any length.
DateCheck check_date(PastDates past, std::string_view text, DayNumber today, RetentionLimit limit);

// Why a date that may_repeat_yearly refuses cannot be made a yearly entry.
inline constexpr std::string_view yearly_leap_day_message = "You can not have the 29th of Feb as a yearly repeat date!";

// The message for a code other than DateError::none (which has none and gives an empty text).
std::string_view date_message(DateError error) noexcept;

}  // namespace daybrook
