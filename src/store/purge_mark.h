// The purge mark: the first day whose entries no close has deleted. Every entry of an earlier day
// may have expired; an entry missing from this day on was deleted by the user. The sync reads it
// to tell the two apart, so that what the close purges never goes out as a deletion, whatever the
// clocks and time zones of the close and the sync.
//
// The close raises the mark before it deletes anything, so a close killed at any point leaves a
// mark that explains every entry it deleted. The mark only ever rises.
#pragma once

#include <optional>
#include <string_view>

#include "calendar/day_number.h"
#include "store/entry_files.h"

namespace daybrook {

inline constexpr std::string_view purge_mark_file = ".daybrook-purged";

// The mark, or nothing when no close has deleted an entry or the file cannot be trusted.
std::optional<DayNumber> read_purge_mark(const StoreDir& dir);

// Raises the mark to `day` (leaving a higher mark as it is), flushed to disk before it returns
// true.
[[nodiscard]] bool raise_purge_mark(const StoreDir& dir, DayNumber day);

}  // namespace daybrook
