// Retention: the purge run when the diary closes (which first carries yearly entries over to
// next year), and the blank clean-up.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "calendar/day_number.h"
#include "store/entry_files.h"
#include "store/keep_code.h"

namespace daybrook {

struct PurgeReport {
    bool store_locked = true;  // false: another copy of the diary held the store; nothing done
    bool lock_link_replaced = false;  // the lock file was a symbolic link; a fresh one took its place
    bool note_unwritten = false;  // the lock file may hold the note of an earlier close instead of this one's
    // The longer keeping time of the last close, used instead of the shorter one given, which the
    // user did not choose.
    std::optional<KeepCode> kept_as_last_close;
    // Old entries kept although the keep code given lets them expire: it was only the default, and
    // no close of this store was recorded either, so the user's choice is unknown.
    bool kept_without_choice = false;
    std::vector<std::string> renewed;  // passed entries carried over to next year
    std::vector<std::string> created;  // their copies for next year
    std::vector<std::string> deleted;  // expired entry files removed
    std::vector<std::string> scratch_removed;
    std::vector<std::string> temporaries_removed;  // left by writers that were killed
    std::vector<std::string> kept_unrenewed;  // passed yearly entries kept: no copy could be made
    std::vector<std::string> unreadable;      // passed entries kept because they could not be read
    std::vector<std::string> unmarked;        // copied, but the renewed mark could not be written
    std::vector<std::string> delete_failed;   // expired entries the file system did not let go
    std::vector<std::string> left_behind;     // scratch and temporary files that would not go
};

// The purge run at close, holding the store's lock: renews passed yearly entries under every
// keep code, deletes entries older than today - 2 - keep_days and removes the scratch list
// files. "Keep for Ever", and any code the diary does not know, delete nothing. Before the first
// deletion it raises the purge mark (purge_mark.h), so that the sync never takes an expired entry
// for one the user deleted; an entry is not deleted when the mark cannot be written. An expired
// entry is deleted only once it has been read and, when yearly, its copy is in place. Only
// listed entry file names are deleted, never a name found inside a record. Temporary files of
// writers that died are removed under every code. A close after a complete one looks only at the
// days that have passed since (see close_memo.h).
// A keep code that only the settings file gave never shortens the keeping time of the last
// close: a settings file that vanished or was replaced must not make entries expire
// that the user chose to keep. One the user chose in this run stands as it is. The default code
// that stands in for a missing settings file deletes nothing at a close without a memo of an
// earlier one (entry files restored onto a new account look just so): that close keeps old
// entries for ever, and so do later ones until the user chooses.
// Waits up to lock_patience for another copy of the diary to finish its own purge.
enum class KeepChoice { from_settings, chosen_this_run, settings_missing };
inline constexpr std::chrono::milliseconds default_lock_patience{5000};
[[nodiscard]] PurgeReport purge_old(const StoreDir& dir, DayNumber today, KeepCode keep_code,
                      KeepChoice choice = KeepChoice::from_settings,
                      std::chrono::milliseconds lock_patience = default_lock_patience);

struct CleanUpReport {
    std::vector<std::string> deleted;  // blank entries removed
    std::vector<std::string> left;     // blank entries the file system did not let go
};

// Deletes every entry whose memo is blank, each the way `dispose` says.
[[nodiscard]] CleanUpReport clean_blanks(const StoreDir& dir, const EntryDisposal& dispose = {});
// The same for the named entry files alone.
[[nodiscard]] CleanUpReport clean_blanks_among(const StoreDir& dir, std::vector<std::string> names, const EntryDisposal& dispose = {});

}  // namespace daybrook
