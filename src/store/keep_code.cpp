#include "store/keep_code.h"

#include <algorithm>
#include <array>

namespace daybrook {
namespace {

constexpr std::array<int, 5> days_kept = {0, 7, 31, 365, 36500};
constexpr std::array<std::string_view, 5> captions = {
    "", "Saving Entries for One Week", "Saving Entries for One Month",
    "Saving Entries for One Year", "Saving Entries Forever"};

// The row of the tables for a code: an unknown code reads the row of `for_ever`.
std::size_t row_of(KeepCode code) noexcept {
    return static_cast<std::size_t>(is_known(code) ? code : KeepCode::for_ever);
}

}  // namespace

bool is_known(KeepCode code) noexcept {
    const int value = static_cast<int>(code);
    return value >= static_cast<int>(KeepCode::none) && value <= static_cast<int>(KeepCode::for_ever);
}

int keep_days(KeepCode code) noexcept { return days_kept[row_of(code)]; }

std::string_view keep_caption(KeepCode code) noexcept { return captions[row_of(code)]; }

DayNumber oldest_day(DayNumber today, KeepCode code, DayNumber last_set) noexcept {
    return std::max(today - keep_days(code), last_set);
}

}  // namespace daybrook
