// Retention: how long entries whose day has passed are kept, the purge run when the diary
// closes (which first carries yearly entries over to next year), and the blank clean-up.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/day_number.h"
#include "store/entry_files.h"

namespace daybrook {

// Keep codes: 0 none, 1 a week, 2 a month, 3 a year, 4 for ever.
inline constexpr int keep_forever = 4;

// Whether a keep code is one of the five known ones (an edited settings file may hold others).
bool valid_keep_code(int keep_code) noexcept;

// Days kept for a valid code: 0, 7, 31, 365, 36500. Any other code gives the values of
// keep_forever, here and in keep_caption and oldest_day, because purge_old deletes nothing for
// it either.
int keep_days(int keep_code) noexcept;

// The title text for a valid code: empty for 0, "Saving Entries for One Week", ...
std::string_view keep_caption(int keep_code) noexcept;

// The oldest day whose entries may still be held: max(today - keep_days, last_set).
DayNumber oldest_day(DayNumber today, int keep_code, DayNumber last_set) noexcept;

enum class Renewal {
    renewed,         // next year's copy is in place and the passed entry marked -1
    unmarked,        // next year's copy is in place, but the passed entry could not be marked
    not_pending,     // not yearly, or renewed already
    unreadable,      // the file could not be read; it is left as it is
    out_of_range,    // next year's date would fall outside the diary's range; left as it is
    failed,          // next year's day is full or the copy could not be written
};

struct RenewResult {
    Renewal outcome = Renewal::not_pending;
    std::string copy;  // the name of next year's copy, when it is in place
};

// Carries a passed yearly entry over to next year: a copy with the date text one year on goes
// to the first free slot of that day, complete and on disk before the passed entry is marked
// renewed. A copy already there from an interrupted run is found and used, never made twice.
RenewResult renew_yearly(const StoreDir& dir, std::string_view name);

struct PurgeReport {
    bool store_locked = true;  // false: another copy of the diary held the store; nothing done
    std::vector<std::string> renewed;  // passed entries carried over to next year
    std::vector<std::string> created;  // their copies for next year
    std::vector<std::string> deleted;  // expired entry files removed
    std::vector<std::string> scratch_removed;
    std::vector<std::string> temporaries_removed;  // left by writers that were killed
    std::vector<std::string> kept_unrenewed;  // passed yearly entries kept: no copy could be made
    std::vector<std::string> unreadable;      // passed entries kept because they could not be read
    std::vector<std::string> unmarked;        // copied, but the renewed mark could not be written
    std::vector<std::string> delete_failed;   // expired entries the file system did not let go
};

// The purge run at close, holding the store's lock: renews passed yearly entries under every
// keep code, deletes entries older than today - 2 - keep_days and removes the scratch list
// files. "Keep for Ever", and any code the diary does not know, delete nothing. An expired
// entry is deleted only once it has been read and, when yearly, its copy is in place. Only
// listed entry file names are deleted, never a name found inside a record. Temporary files of
// writers that died are removed under every code.
// Waits up to lock_patience for another copy of the diary to finish its own purge.
inline constexpr std::chrono::milliseconds default_lock_patience{5000};
PurgeReport purge_old(const StoreDir& dir, DayNumber today, int keep_code,
                      std::chrono::milliseconds lock_patience = default_lock_patience);

// Deletes every entry whose memo is blank and returns the names deleted.
std::vector<std::string> clean_blanks(const StoreDir& dir);

}  // namespace daybrook
