#include "calendar/date_choices.h"

#include <cstdint>

#include "calendar/day_names.h"

namespace daybrook {

namespace {

// Every date the choice list offers lies within this many weeks of the first.
constexpr int weekday_choice_count = 20;

}  // namespace

DateForm classify_date_text(std::string_view text) noexcept {
    constexpr auto absent = std::string_view::npos;
    if (text.find('/') != absent) return DateForm::plain;
    if (text.find_first_of("MTWFSmtwfs") != absent) return DateForm::day_name;
    if (text.find_first_of("123456789") != absent) return DateForm::days_ahead;
    return DateForm::plain;
}

std::vector<DayNumber> weekday_dates(DayNumber from, int weekday) {
    std::vector<DayNumber> dates;
    // The bound on `from` also keeps the steps below far from overflowing.
    if (weekday < 0 || weekday >= days_per_week || from > last_diary_day) return dates;
    const int from_weekday = day_to_calendar(from).weekday;
    DayNumber day = from + (weekday - from_weekday + days_per_week) % days_per_week;
    for (int k = 0; k < weekday_choice_count && day <= last_diary_day; ++k) {
        dates.push_back(day);
        day += days_per_week;
    }
    return dates;
}

ShortFormDates day_name_dates(std::string_view text, DayNumber today) {
    const int weekday = find_day_name(text);
    if (weekday < 0) return {.error = ShortFormError::unknown_day_name};
    std::vector<DayNumber> days = weekday_dates(today, weekday);
    if (days.empty()) return {.error = ShortFormError::no_day_left};
    return {.days = std::move(days)};
}

ShortFormDates days_ahead_dates(int days, DayNumber today) {
    if (days < 1) return {.error = ShortFormError::not_ahead};
    // In 64 bits, so that no count overflows on its way past the last day.
    const std::int64_t day = std::int64_t{today} + days;
    if (day > last_diary_day) return {.error = ShortFormError::after_last_day};
    return {.days = {DayNumber(day)}};
}

std::string_view short_form_message(ShortFormError error) noexcept {
    switch (error) {
    case ShortFormError::none: return {};
    case ShortFormError::unknown_day_name: return "Unable to recognise the Day Name";
    case ShortFormError::no_day_left: return "No such day is left before 31/12/50, the last date the diary holds!";
    case ShortFormError::not_ahead: return "Must be at least 1 day ahead!";
    case ShortFormError::after_last_day: return "That is after 31/12/50, the last date the diary holds!";
    }
    return {};
}

std::string date_choice_line(DayNumber day) {
    const CalendarDate date = day_to_calendar(day);
    std::string line(day_names[date.weekday]);
    line += ' ';
    line += std::to_string(date.day);
    line += ' ';
    line += month_names[date.month - 1];
    line += " (" + day_to_date(day) + ")";
    return line;
}

}  // namespace daybrook
