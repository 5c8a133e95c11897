#include "store/retention.h"

#include <algorithm>
#include <optional>

#include "store/close_memo.h"
#include "store/purge_mark.h"
#include "store/record_io.h"
#include "store/renewal.h"
#include "store/scratch_files.h"
#include "store/store_lock.h"

namespace daybrook {
namespace {

// Carries a passed entry over when it is yearly. Returns whether it may be deleted: an entry
// that could not be read, or a yearly one whose copy could not be made, stays.
bool settle_passed(const StoreDir& dir, const std::string& name, PurgeReport& report) {
    const RenewResult result = renew_yearly(dir, name);
    switch (result.outcome) {
    case Renewal::renewed:
        report.renewed.push_back(name);
        report.created.push_back(result.copy);
        return true;
    case Renewal::unmarked:
        report.unmarked.push_back(name);
        report.created.push_back(result.copy);
        return true;
    case Renewal::not_pending:
    case Renewal::out_of_range: return true;
    case Renewal::unreadable:
        // A file that went between the listing and the reading needs nothing more.
        if (store_io::name_taken(dir, name)) report.unreadable.push_back(name);
        return false;
    case Renewal::failed: report.kept_unrenewed.push_back(name); return false;
    }
    return false;
}

bool is_store_file(std::string_view name) noexcept {
    return is_entry_file_name(name) || is_scratch_file_name(name) || name == purge_mark_file;
}

// What the close looks at, from one pass over the folder: the entry files whose day has passed
// (in name order, which is chronological), the scratch list files (in name order), and the
// temporary files of writers that died. Entries of today and later are passed over, so a store
// of future entries costs the close little more than the listing itself.
struct ClosingScan {
    bool whole = true;  // false: the folder could not be read to its end
    std::vector<std::string> passed;
    std::vector<std::string> scratch;
    std::vector<std::string> dead_temporaries;
};

ClosingScan scan_for_close(const StoreDir& dir, DayNumber last_passed_day) {
    ClosingScan scan;
    scan.whole = store_io::for_each_file(dir, [&](std::string_view name) {
        if (is_entry_file_name(name)) {
            if (day_of_entry_name(name) <= last_passed_day) scan.passed.emplace_back(name);
        } else if (is_scratch_file_name(name)) {
            scan.scratch.emplace_back(name);
        } else if (store_io::is_dead_temporary(name, is_store_file)) {
            scan.dead_temporaries.emplace_back(name);
        }
    });
    std::sort(scan.passed.begin(), scan.passed.end());
    std::sort(scan.scratch.begin(), scan.scratch.end());
    return scan;
}

// Whether the close did all it had to: then the next one may start where this one ended.
bool complete(const PurgeReport& report) {
    return report.unreadable.empty() && report.kept_unrenewed.empty() && report.unmarked.empty() &&
           report.delete_failed.empty() && report.left_behind.empty();
}

// Deletes the files and returns the names of those deleted; those that would not go are added to
// `left`.
std::vector<std::string> remove_all(const StoreDir& dir, std::vector<std::string> names, std::vector<std::string>& left) {
    std::vector<std::string> removed;
    for (std::string& name : names) (store_io::remove_file(dir, name) ? removed : left).push_back(std::move(name));
    return removed;
}

// The keep code the close purges with: the one given, unless only the settings gave it and the
// last close, finished or not, kept entries longer.
KeepCode code_to_use(const std::optional<CloseMemo>& memo, KeepCode given, KeepChoice choice, PurgeReport& report) {
    if (choice == KeepChoice::chosen_this_run || !memo || keep_days(memo->keep_code) <= keep_days(given)) return given;
    report.kept_as_last_close = memo->keep_code;
    return memo->keep_code;
}

// The keep code in force when nothing tells the user's choice: the one given, unless that would
// delete an entry, which is then kept with every other.
KeepCode code_without_choice(const ClosingScan& scan, KeepCode given, DayNumber today, PurgeReport& report) {
    const bool deletes = is_known(given) && given != KeepCode::for_ever;
    // The passed entries are in chronological order: the first is the oldest.
    if (!deletes || scan.passed.empty() || day_of_entry_name(scan.passed.front()) >= today - 2 - keep_days(given))
        return given;
    report.kept_without_choice = true;
    return KeepCode::for_ever;
}

}  // namespace

PurgeReport purge_old(const StoreDir& dir, DayNumber today, KeepCode given_code, KeepChoice choice,
                      std::chrono::milliseconds lock_patience) {
    PurgeReport report;
    const LockAttempt attempt = StoreLock::acquire(dir, lock_patience);
    if (!attempt.lock) {
        report.store_locked = false;
        return report;
    }
    const StoreLock& lock = *attempt.lock;
    report.lock_link_replaced = lock.replaced_link();
    const std::optional<CloseMemo> memo = memo_of(lock.note());
    KeepCode keep_code = code_to_use(memo, given_code, choice, report);
    const bool listing = needs_listing(dir, memo, today, keep_code);
    ClosingScan scan = listing ? scan_for_close(dir, today - 1) : ClosingScan{.passed = entries_since(dir, *memo, today)};
    if (choice == KeepChoice::settings_missing && !memo) keep_code = code_without_choice(scan, keep_code, today, report);
    // A close killed half way leaves this note, so that the next one lists the whole folder and
    // removes the temporary files of the writes it was killed in. Were it not written, the note
    // of the last close stands, still true of that close: the files would only wait for the
    // weekly listing.
    [[maybe_unused]] const bool noted = lock.keep_note(memo_text(unfinished_close(keep_code)));
    report.temporaries_removed = remove_all(dir, std::move(scan.dead_temporaries), report.left_behind);
    const bool deletes = is_known(keep_code) && keep_code != KeepCode::for_ever;
    const DayNumber delete_before = today - 2 - keep_days(keep_code);
    bool marked = false;  // the purge mark explains the deletions below
    for (const std::string& name : scan.passed) {
        if (!settle_passed(dir, name, report) || !deletes || day_of_entry_name(name) >= delete_before) continue;
        marked = marked || raise_purge_mark(dir, delete_before);
        if (marked && remove_entry_file(dir, name) == StoreError::none) report.deleted.push_back(name);
        else report.delete_failed.push_back(name);
    }
    if (deletes) report.scratch_removed = remove_all(dir, std::move(scan.scratch), report.left_behind);
    // A listing cut short may have missed passed entries: the next close lists the folder again.
    const bool finished = complete(report) && scan.whole;
    const CloseMemo done = finished ? CloseMemo{today, keep_code, listing ? today : memo->listed_day} : unfinished_close(keep_code);
    report.note_unwritten = !lock.keep_note(memo_text(done));
    return report;
}

CleanUpReport clean_blanks(const StoreDir& dir, const EntryDisposal& dispose) {
    return clean_blanks_among(dir, list_entry_files(dir), dispose);
}

CleanUpReport clean_blanks_among(const StoreDir& dir, std::vector<std::string> names, const EntryDisposal& dispose) {
    CleanUpReport report;
    for (std::string& name : names) {
        const std::optional<EntryRecord> entry = read_entry(dir, name);
        if (!entry || !is_blank(entry->text)) continue;
        if (remove_entry_file(dir, name, dispose) == StoreError::none) report.deleted.push_back(std::move(name));
        else report.left.push_back(std::move(name));
    }
    return report;
}

}  // namespace daybrook
