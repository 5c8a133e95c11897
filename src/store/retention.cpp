#include "store/retention.h"

#include <optional>

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
    case Renewal::unreadable: report.unreadable.push_back(name); return false;
    case Renewal::failed: report.kept_unrenewed.push_back(name); return false;
    }
    return false;
}

bool is_store_file(std::string_view name) noexcept {
    return is_entry_file_name(name) || is_scratch_file_name(name);
}

}  // namespace

PurgeReport purge_old(const StoreDir& dir, DayNumber today, KeepCode keep_code,
                      std::chrono::milliseconds lock_patience) {
    PurgeReport report;
    const std::optional<StoreLock> lock = StoreLock::acquire(dir, lock_patience);
    if (!lock) {
        report.store_locked = false;
        return report;
    }
    report.temporaries_removed = store_io::remove_dead_temporaries(dir, is_store_file);
    const bool deletes = is_known(keep_code) && keep_code != KeepCode::for_ever;
    const DayNumber delete_before = today - 2 - keep_days(keep_code);
    for (const std::string& name : list_entry_files(dir)) {
        const DayNumber day = day_of_entry_name(name);
        if (day > today - 1 || !settle_passed(dir, name, report)) continue;
        if (!deletes || day >= delete_before) continue;
        if (remove_entry_file(dir, name) == StoreError::none) report.deleted.push_back(name);
        else report.delete_failed.push_back(name);
    }
    if (deletes) report.scratch_removed = remove_scratch_files(dir);
    return report;
}

CleanUpReport clean_blanks(const StoreDir& dir) {
    CleanUpReport report;
    for (std::string& name : list_entry_files(dir)) {
        const std::optional<EntryRecord> entry = read_entry(dir, name);
        if (!entry || !is_blank(entry->text)) continue;
        if (remove_entry_file(dir, name) == StoreError::none) report.deleted.push_back(std::move(name));
        else report.left.push_back(std::move(name));
    }
    return report;
}

}  // namespace daybrook
