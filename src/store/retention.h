// Retention: how long entries whose day has passed are kept, the purge run when the diary
// closes (which first carries yearly entries over to next year), and the blank clean-up.
#pragma once

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
    renewed,         // next year's copy written and the passed entry marked -1
    not_pending,     // not yearly, or renewed already
    unreadable,      // the file could not be read
    out_of_range,    // next year's date would fall outside the diary's range; left as it is
    failed,          // next year's day is full or a file could not be written
};

struct RenewResult {
    Renewal outcome = Renewal::not_pending;
    std::string created;  // the name of next year's copy, when renewed
};

// Makes next year's copy of a passed yearly entry (in the first free slot of that day, with the
// date text one year on) and marks the passed one as renewed. When the copy cannot be made, or
// the mark cannot be written (the copy is then removed again), the passed entry stays pending.
RenewResult renew_yearly(const StoreDir& dir, std::string_view name);

struct PurgeReport {
    std::vector<std::string> renewed;  // passed entries carried over to next year
    std::vector<std::string> created;  // the copies made for next year
    std::vector<std::string> deleted;  // expired entry files removed
    std::vector<std::string> scratch_removed;
    std::vector<std::string> renewal_failed;  // passed yearly entries kept because renewing failed
};

// The purge run at close: renews passed yearly entries, deletes entries older than
// today - 2 - keep_days and removes the scratch list files. "Keep for Ever", and any code the
// diary does not know, touch nothing. An expired yearly entry whose renewal failed is not
// deleted, so its repeat is tried again at the next close. Only listed entry file names are
// deleted, never a name found inside a record.
PurgeReport purge_old(const StoreDir& dir, DayNumber today, int keep_code);

// Deletes every entry whose memo is blank and returns the names deleted.
std::vector<std::string> clean_blanks(const StoreDir& dir);

}  // namespace daybrook
