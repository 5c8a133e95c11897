#include "calendar/day_names.h"

#include <string>

#include "calendar/text_helpers.h"

namespace daybrook {

int find_day_name(std::string_view typed) {
    if (typed.empty()) return -1;
    const std::string wanted = ascii_lower(typed);
    for (int i = 0; i < static_cast<int>(day_names.size()); ++i)
        if (ascii_lower(day_names[i]).starts_with(wanted)) return i;
    return -1;
}

}  // namespace daybrook
