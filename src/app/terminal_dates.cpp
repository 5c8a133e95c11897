#include "app/terminal_dates.h"

#include <cctype>
#include <optional>

#include "calendar/text_helpers.h"

namespace daybrook {
namespace {

bool all_digits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The year value that "dd/mm/yy" takes for a four-digit year; nothing for a year it cannot hold.
std::optional<int> year_value(std::string_view year) {
    if (year.size() != 4 || !all_digits(year)) return std::nullopt;
    const int full = text_to_int(year);
    // "yy" names 2000 to 2050 by 00 to 50 and the years before by 51 to 99.
    if (full >= 2000 && full <= 2050) return full - 2000;
    if (full >= 1951 && full <= 1999) return full - 1900;
    return std::nullopt;
}

// "dd/mm/yy" of day, month and a four-digit year in either order; nothing for other texts.
std::optional<std::string> four_digit_year_date(std::string_view typed) {
    std::string_view day, month, year;
    if (typed.size() == 10 && typed[4] == '-' && typed[7] == '-') {  // 2026-12-24
        year = typed.substr(0, 4);
        month = typed.substr(5, 2);
        day = typed.substr(8, 2);
    } else if (typed.size() >= 8 && typed.size() <= 10 && typed[typed.size() - 5] == '/') {  // 24/12/2026
        year = typed.substr(typed.size() - 4);
        const std::string_view day_month = typed.substr(0, typed.size() - 5);
        day = view_before(day_month, "/");
        month = day_month.find('/') == std::string_view::npos ? std::string_view{} : view_after(day_month, "/");
    } else {
        return std::nullopt;
    }
    const std::optional<int> value = year_value(year);
    if (!value || !all_digits(day) || !all_digits(month)) return std::nullopt;
    return format_date(text_to_int(day), text_to_int(month), *value);
}

std::string lower(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = char(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

// New Entry shows the date a number of days ahead stands for before it takes it; without that
// look, a text such as "6-12-26" would quietly become six days ahead. So here only a whole
// number counts as days ahead, and anything else is checked as a "dd/mm/yy" date.
DateForm form_of(std::string_view typed) {
    const DateForm form = classify_date_text(typed);
    const std::string_view digits = typed.starts_with('-') || typed.starts_with('+') ? typed.substr(1) : typed;
    return form == DateForm::days_ahead && !all_digits(digits) ? DateForm::plain : form;
}

// The short forms stand for the first date New Entry offers for them.
TypedDay short_form_day(ShortFormDates dates, DateForm form) {
    if (dates.error != ShortFormError::none) return {.form = form, .refusal = short_form_message(dates.error)};
    return {.day = dates.days.front(), .form = form};
}

}  // namespace

std::string new_entry_date_text(std::string_view typed, DayNumber today) {
    const std::string word = lower(typed);
    if (word == "today" || word == "0") return day_to_date(today);
    if (word == "tomorrow") return day_to_date(today + 1);
    return four_digit_year_date(typed).value_or(std::string(typed));
}

TypedDay typed_day(std::string_view typed, DayNumber today, PastDates past, RetentionLimit limit) {
    const std::string text = new_entry_date_text(typed, today);
    const DateForm form = form_of(text);
    if (form == DateForm::day_name) return short_form_day(day_name_dates(text, today), form);
    if (form == DateForm::days_ahead) return short_form_day(days_ahead_dates(text_to_int(text), today), form);
    const DateCheck check = check_date(past, text, today, limit);
    if (check.error != DateError::none) return {.refusal = date_message(check.error)};
    return {.day = check.day_number};
}

}  // namespace daybrook
