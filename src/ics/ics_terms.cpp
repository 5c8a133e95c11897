#include "ics/ics_terms.h"

#include <chrono>

#include "calendar/text_helpers.h"

namespace daybrook {

bool names_red_letter_day(std::string_view category) {
    const auto squeezed = [](std::string_view text) {
        std::string out;
        for (char c : text)
            if (c != ' ' && c != '-' && c != '_' && c != '\t') out += ascii_lower(c);
        return out;
    };
    return squeezed(category) == squeezed(red_letter_category);
}

std::string one_line(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return out;
}

PlainDay plain_day(int year, int month, int day) {
    using namespace std::chrono;
    const year_month_day date{std::chrono::year{year}, std::chrono::month(static_cast<unsigned>(month)),
                              std::chrono::day(static_cast<unsigned>(day))};
    return sys_days{date}.time_since_epoch().count();
}

}  // namespace daybrook
