#include "calendar/date_check.h"

#include <algorithm>
#include <array>


namespace daybrook {

namespace {

// Indexed by the code; the texts are the diary's own, word for word.
constexpr std::array<std::string_view, 10> date_messages = {
    "",
    "Invalid Date - '/' missing",
    "The year given is invalid",
    "The Month given is invalid",
    "The day given is invalid",
    "The date given has already past!",
    "",  // 6: no check gives it
    "No year given",
    "You hold no entries so old!",
    "Past entries are not allowed!",
};

// Reads day, month and year as typed, after making sure there are three parts and a year.
DateError read_values(std::string_view text, DateCheck& values) noexcept {
    if (std::count(text.begin(), text.end(), '/') != 2) return DateError::slash_missing;
    const DateParts parts = date_parts(text);
    values.day = parts.day;
    values.month = parts.month;
    const auto year_on = text.substr(text.rfind('/') + 1);
    if (year_on.find_first_of("0123456789") == std::string_view::npos) return DateError::no_year;
    values.year = parts.year;
    return DateError::none;
}

// The accepted years are 00 to 50 (2000 to 2050) and 98, 99. A negative year is refused as
// well: it would otherwise be taken for a year of the 1900s or even fall before 1970.
DateError check_values(const DateCheck& values) noexcept {
    if (values.year < 0 || (values.year > 50 && values.year != 98 && values.year != 99))
        return DateError::bad_year;
    if (values.month < 1 || values.month > 12) return DateError::bad_month;
    if (values.day < 1 || values.day > month_length(values.month, values.year))
        return DateError::bad_day;
    return DateError::none;
}

DateError check_day(PastDates past, DayNumber n, DayNumber today, RetentionLimit limit) noexcept {
    if (!limit.old_entries_kept && n < today) return DateError::already_past;
    if (limit.old_entries_kept && n < limit.oldest_day) return DateError::too_old;
    if (past == PastDates::refused && n < today) return DateError::past_not_allowed;
    return DateError::none;
}

}  // namespace

DateCheck check_date(PastDates past, std::string_view text, DayNumber today, RetentionLimit limit) {
    DateCheck result;
    result.error = read_values(text, result);
    if (result.error == DateError::none) result.error = check_values(result);
    if (result.error != DateError::none) return result;
    result.day_number = day_number_of(result.day, result.month, result.year);
    result.error = check_day(past, result.day_number, today, limit);
    return result;
}

std::string_view date_message(DateError error) noexcept {
    const auto code = static_cast<std::size_t>(error);
    return code < date_messages.size() ? date_messages[code] : std::string_view{};
}

}  // namespace daybrook
