// The yearly renewal: a passed entry that repeats each year is copied to the same day and month
// of the next year, where it is renewed in turn a year later.
#pragma once

#include <string>
#include <string_view>

#include "store/entry_files.h"

namespace daybrook {

enum class Renewal {
    renewed,       // next year's copy is in place and the passed entry marked -1
    unmarked,      // next year's copy is in place, but the passed entry could not be marked
    not_pending,   // not yearly, or renewed already
    unreadable,    // the file could not be read; it is left as it is
    out_of_range,  // next year's date would fall outside the diary's range; left as it is
    failed,        // next year's day is full or the copy could not be written
};

struct RenewResult {
    Renewal outcome = Renewal::not_pending;
    std::string copy;  // the name of next year's copy, when it is in place
};

// Carries a passed yearly entry over to next year: a copy with the date text one year on goes
// to the first free slot of that day, complete and on disk before the passed entry is marked
// renewed. A copy already there from an interrupted run is found and used, never made twice.
// The caller holds the store's lock.
[[nodiscard]] RenewResult renew_yearly(const StoreDir& dir, std::string_view name);

}  // namespace daybrook
