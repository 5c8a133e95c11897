// What the last complete close did, kept in the store's lock file, so that the next close need
// look only at the days that have passed since instead of listing the whole folder: at the first
// login of a day that is a few file probes, not a listing of every entry. A whole listing is
// still made now and then, and whenever the memo cannot be trusted.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/day_number.h"
#include "store/entry_files.h"
#include "store/keep_code.h"

namespace daybrook {

struct CloseMemo {
    DayNumber day = 0;            // the close covered every entry of the days before this one
    KeepCode keep_code = KeepCode::none;
    DayNumber listed_day = 0;     // the day of the last close that listed the whole folder

    friend bool operator==(const CloseMemo&, const CloseMemo&) = default;
};

std::string memo_text(const CloseMemo& memo);

// The memo of a close that could not do all it had to: it covers no day, so the next close lists
// the whole folder, but it keeps the keep code used, which no later close may shorten unasked.
CloseMemo unfinished_close(KeepCode keep_code);

// The memo a text holds; nothing for any text the diary did not write.
std::optional<CloseMemo> memo_of(std::string_view text);

// Whether a close today with this keep code must list the whole folder: without a memo, with
// another keep code, when the clock went back, after a long absence, once a week (for files of
// killed writers), and when a deletion list left its scratch files.
bool needs_listing(const StoreDir& dir, const std::optional<CloseMemo>& memo, DayNumber today, KeepCode keep_code);

// The entry files a close today must look at when the memo can be trusted: those of the days
// that passed since the memo's close, and of those whose entries have expired since.
std::vector<std::string> entries_since(const StoreDir& dir, const CloseMemo& memo, DayNumber today);

}  // namespace daybrook
