#include "store/close_memo.h"

#include <algorithm>
#include <cstdio>

#include "calendar/text_helpers.h"
#include "store/record_io.h"
#include "store/scratch_files.h"

namespace daybrook {
namespace {

constexpr std::string_view memo_tag = "daybrook-close";
constexpr int longest_absence = 31;  // days; after more, the whole folder is listed
constexpr int listing_period = 7;

// The files of the days from `first` to `last` that the store holds.
void add_days(const StoreDir& dir, DayNumber first, DayNumber last, std::vector<std::string>& names) {
    for (DayNumber day = first; day <= last; ++day)
        for (int slot = 0; slot < slots_per_day; ++slot) {
            std::string name = entry_file_name(day, slot);
            if (store_io::holds_file(dir, name)) names.push_back(std::move(name));
        }
}

// 1 January 1970, the first day of the diary's range.
DayNumber first_memo_day() noexcept { return day_number_of(1, 1, 70); }

// Whether a day of a memo is one that a close can have covered: a damaged memo's day far outside
// the diary's dates would make the next close probe billions of days.
bool in_diary_range(DayNumber day) noexcept {
    return day >= first_memo_day() && day <= last_diary_day;
}

}  // namespace

std::string memo_text(const CloseMemo& memo) {
    char text[96];
    std::snprintf(text, sizeof text, "%.*s %d %d %d\n", int(memo_tag.size()), memo_tag.data(), int(memo.day),
                  static_cast<int>(memo.keep_code), int(memo.listed_day));
    return text;
}

CloseMemo unfinished_close(KeepCode keep_code) { return {first_memo_day(), keep_code, first_memo_day()}; }

std::optional<CloseMemo> memo_of(std::string_view text) {
    if (!text.starts_with(memo_tag) || !text.ends_with('\n')) return std::nullopt;
    const std::string_view day = view_after(text, " ");
    const std::string_view code = view_after(day, " ");
    const std::string_view listed = view_after(code, " ");
    const CloseMemo memo{text_to_int(day), KeepCode{text_to_int(code)}, text_to_int(listed)};
    if (memo_text(memo) != text) return std::nullopt;  // anything but exactly what was written
    if (!in_diary_range(memo.day) || !in_diary_range(memo.listed_day)) return std::nullopt;
    return memo;
}

// Both memo days lie in the diary's range (memo_of sees to it), so no difference here overflows.
bool needs_listing(const StoreDir& dir, const std::optional<CloseMemo>& memo, DayNumber today, KeepCode keep_code) {
    return !memo || memo->keep_code != keep_code || today < memo->day || today - memo->day > longest_absence ||
           today < memo->listed_day || today - memo->listed_day >= listing_period ||
           store_io::name_taken(dir, scratch_file_name(0));
}

// Entries become due for carrying over the day after theirs, and for deletion a fixed number of
// days later; both ranges move on by the days that passed since the memo's close.
std::vector<std::string> entries_since(const StoreDir& dir, const CloseMemo& memo, DayNumber today) {
    std::vector<std::string> names;
    add_days(dir, memo.day, today - 1, names);
    if (is_known(memo.keep_code) && memo.keep_code != KeepCode::for_ever) {
        const int expiry = 2 + keep_days(memo.keep_code);
        add_days(dir, memo.day - expiry, today - 1 - expiry, names);
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

}  // namespace daybrook
