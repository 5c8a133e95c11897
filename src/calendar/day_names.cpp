#include "calendar/day_names.h"

#include <string>

#include "calendar/text_helpers.h"

namespace daybrook {

int find_day_name(std::string_view typed) {
    if (typed.empty()) return -1;
    std::string wanted(typed);
    cv_case(wanted, 'L');
    for (int i = 0; i < static_cast<int>(day_names.size()); ++i) {
        std::string name(day_names[i]);
        cv_case(name, 'L');
        if (name.starts_with(wanted)) return i;
    }
    return -1;
}

}  // namespace daybrook
