#include "calendar/next_year.h"

namespace daybrook {

std::optional<NextYear> next_year(std::string_view date) {
    const DateParts passed = date_parts(date);
    if (passed.day < 1 || passed.day > 31 || passed.month < 1 || passed.month > 12 || passed.year < 0 ||
        passed.year > 99)
        return std::nullopt;
    const DateParts next{passed.day, passed.month, (passed.year + 1) % 100};
    NextYear result{format_date(next.day, next.month, next.year), day_number_of(next)};
    if (result.day <= day_number_of(passed) || result.day > last_diary_day) return std::nullopt;
    return result;
}

}  // namespace daybrook
