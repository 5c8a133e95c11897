// Typed dates, day numbers and day names. The input's last bytes choose the checks' settings and
// a few numbers; the rest is the typed text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <limits>
#include <string>

#include "calendar/date_check.h"
#include "calendar/day_names.h"
#include "calendar/day_number.h"
#include "calendar/text_helpers.h"
#include "fuzz_check.h"

namespace {

using namespace daybrook;

constexpr DayNumber earliest_day = std::numeric_limits<DayNumber>::min();
// 1 January 1998, the first date a typed year reaches.
const DayNumber first_typed_day = day_number_of(date_parts("01/01/98"));

bool same(const DateCheck& a, const DateCheck& b) {
    return a.error == b.error && a.day == b.day && a.month == b.month && a.year == b.year;
}

// The errors of the steps that read the text, before its day is compared with anything.
bool text_error(DateError error) {
    return error == DateError::slash_missing || error == DateError::no_year || error == DateError::bad_year ||
           error == DateError::bad_month || error == DateError::bad_day;
}

void check_typed_date(PastDates past, std::string_view text, DayNumber today, RetentionLimit limit) {
    const DateCheck result = check_date(past, text, today, limit);
    FUZZ_CHECK(date_message(result.error).empty() == (result.error == DateError::none));

    // Reading the text does not depend on today or the retention.
    const DateCheck any_day = check_date(PastDates::allowed, text, earliest_day, {true, earliest_day});
    if (text_error(result.error)) {
        FUZZ_CHECK(same(any_day, result));
        return;
    }
    FUZZ_CHECK(any_day.error == DateError::none);
    FUZZ_CHECK(same(DateCheck{result.error, any_day.day, any_day.month, any_day.year}, result));

    // What the dialogs go on to convert is the typed text itself.
    const DayNumber n = day_number_of(date_parts(text));
    FUZZ_CHECK(n == day_number_of(result.day, result.month, result.year));
    FUZZ_CHECK(n >= first_typed_day && n <= last_diary_day);

    DateError expected = DateError::none;
    if (!limit.old_entries_kept && n < today) expected = DateError::already_past;
    else if (limit.old_entries_kept && n < limit.oldest_day) expected = DateError::too_old;
    else if (past == PastDates::refused && n < today) expected = DateError::past_not_allowed;
    FUZZ_CHECK(result.error == expected);

    // The day number gives back the day, month and two-digit year as typed, and that plain
    // spelling checks the same.
    const std::string typed = format_date(result.day, result.month, result.year);
    FUZZ_CHECK(typed.size() == 8);
    // (29/02/00 shares its day number with 1 March, the date that number shows.)
    FUZZ_CHECK(day_to_date(n) == typed || typed == "29/02/00");
    FUZZ_CHECK(same(check_date(past, typed, today, limit), result));
}

// The calendar of any plain day: a real date whose next day is the calendar's next day; a day
// number's date is that of its plain day.
void check_calendar(DayNumber n) {
    const CalendarDate date = plain_day_to_calendar(n);
    FUZZ_CHECK(date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= 31);
    FUZZ_CHECK(date.weekday >= 0 && date.weekday <= 6);
    FUZZ_CHECK(date.year >= -32767 && date.year <= 32767);
    const CalendarDate named = day_to_calendar(n);
    FUZZ_CHECK(named == plain_day_to_calendar(plain_day_of(n)));
    const std::string text = day_to_date(n);
    FUZZ_CHECK(text == format_date(named.day, named.month, (named.year % 100 + 100) % 100));
    FUZZ_CHECK(text.size() == 8);
    if (n == std::numeric_limits<DayNumber>::max()) return;

    const CalendarDate next = plain_day_to_calendar(PlainDay{n} + 1);
    if (next == date) {  // beyond the calendar's years, days stay on its first or last one
        FUZZ_CHECK((date == CalendarDate{1, 1, -32767, date.weekday}) || (date == CalendarDate{31, 12, 32767, date.weekday}));
        return;
    }
    FUZZ_CHECK(next.weekday == (date.weekday + 1) % 7);
    if (next.day != 1) {
        FUZZ_CHECK((next == CalendarDate{date.day + 1, date.month, date.year, next.weekday}));
    } else if (next.month != 1) {
        FUZZ_CHECK(next.month == date.month + 1 && next.year == date.year && date.day >= 28);
    } else {
        FUZZ_CHECK(next.year == date.year + 1 && date.month == 12 && date.day == 31);
    }
    // Across the diary's days, the date's text counts back to the day.
    if (n >= first_typed_day - 1 && n <= last_diary_day) FUZZ_CHECK(day_number_of(date_parts(text)) == n);
}

void check_day_name(std::string_view typed) {
    const int found = find_day_name(typed);
    FUZZ_CHECK(found >= -1 && found <= 6);
    const std::string wanted = ascii_lower(typed);
    int first_match = -1;
    for (int i = 0; i < 7 && first_match < 0 && !typed.empty(); ++i)
        if (ascii_lower(day_names[static_cast<std::size_t>(i)]).starts_with(wanted)) first_match = i;
    FUZZ_CHECK(found == first_match);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const PastDates past = input.ConsumeBool() ? PastDates::allowed : PastDates::refused;
    const bool near_today = input.ConsumeBool();
    const DayNumber today_value = input.ConsumeIntegral<DayNumber>();
    const bool kept = input.ConsumeBool();
    const DayNumber oldest_value = input.ConsumeIntegral<DayNumber>();
    const int day = input.ConsumeIntegral<int>();
    const int month = input.ConsumeIntegral<int>();
    const int year = input.ConsumeIntegral<int>();
    const DayNumber n = input.ConsumeIntegral<DayNumber>();
    const std::string text = input.ConsumeRemainingBytesAsString();

    // Today and the oldest day held either anywhere or a few days either side of the typed day,
    // where the checks change their answer.
    const DayNumber typed_day = day_number_of(date_parts(text));
    const bool near = near_today && typed_day <= last_diary_day;
    const DayNumber today = near ? typed_day + today_value % 4 : today_value;
    const DayNumber oldest = near ? typed_day + oldest_value % 4 : oldest_value;
    check_typed_date(past, text, today, {kept, oldest});

    FUZZ_CHECK(typed_day >= 0);
    const DayNumber from_parts = day_number_of(day, month, year);
    FUZZ_CHECK(from_parts >= 0);
    FUZZ_CHECK(from_parts == day_number_of(date_parts(format_date(day, month, year))));

    check_calendar(n);
    check_calendar(typed_day);
    check_day_name(text);
    return 0;
}
