#include "store/retention.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "calendar/text_helpers.h"
#include "store/record_io.h"
#include "store/scratch_files.h"
#include "store/store_lock.h"

namespace daybrook {
namespace {

constexpr std::array<int, 5> days_kept = {0, 7, 31, 365, 36500};
constexpr std::array<std::string_view, 5> captions = {
    "", "Saving Entries for One Week", "Saving Entries for One Month",
    "Saving Entries for One Year", "Saving Entries Forever"};

// An unknown code behaves as "Keep for Ever": it deletes nothing.
int known_code(int keep_code) noexcept {
    return valid_keep_code(keep_code) ? keep_code : keep_forever;
}

// The date text one year on from a stored "dd/mm/yy", the year 99 wrapping to 00. Nothing for a
// text the diary never writes, whose values would count to no sensible day.
std::optional<std::string> next_year_date(std::string_view date) {
    const std::string rest = str_after(date, "/");
    const int day = text_to_int(str_before(date, "/"));
    const int month = text_to_int(str_before(rest, "/"));
    const int year = text_to_int(str_after(rest, "/"));
    if (day < 1 || day > 31 || month < 1 || month > 12 || year < 0 || year > 99)
        return std::nullopt;
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", day, month, (year + 1) % 100);
    return text;
}

// Marks the passed entry as renewed: the record exactly as read, `file` field included, with
// yearly -1, written under the name it was read from.
bool mark_renewed(const StoreDir& dir, std::string_view name, EntryRecord passed) {
    passed.yearly = EntryRecord::yearly_renewed;
    return store_io::replace_record(dir, name, encode(passed)) == StoreError::none;
}

// A copy already on next year's day: left by a renewal that was stopped before it could mark
// the passed entry. The same memo, date and colour on the same day is that copy.
std::optional<std::string> existing_copy(const StoreDir& dir, DayNumber day, const EntryRecord& copy) {
    for (int slot = 0; slot < slots_per_day; ++slot) {
        const std::optional<EntryRecord> found = probe_entry(dir, day, slot);
        if (found && found->yearly != EntryRecord::not_yearly && found->text == copy.text &&
            found->date == copy.date && found->red == copy.red)
            return entry_file_name(day, slot);
    }
    return std::nullopt;
}

// Next year's copy, found or newly made, and on disk under its name; nothing when it could not
// be made safe.
std::optional<std::string> place_copy(const StoreDir& dir, DayNumber day, const EntryRecord& copy) {
    if (std::optional<std::string> found = existing_copy(dir, day, copy)) return found;
    const AddedEntry added = add_entry_keeping_date(dir, day, copy);
    if (added.error != StoreError::none || !store_io::sync_store(dir)) return std::nullopt;
    return added.name;
}

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

bool valid_keep_code(int keep_code) noexcept {
    return keep_code >= 0 && keep_code <= keep_forever;
}

int keep_days(int keep_code) noexcept {
    return days_kept[static_cast<std::size_t>(known_code(keep_code))];
}

std::string_view keep_caption(int keep_code) noexcept {
    return captions[static_cast<std::size_t>(known_code(keep_code))];
}

DayNumber oldest_day(DayNumber today, int keep_code, DayNumber last_set) noexcept {
    return std::max(today - keep_days(keep_code), last_set);
}

RenewResult renew_yearly(const StoreDir& dir, std::string_view name) {
    const std::optional<EntryRecord> passed = read_entry(dir, name);
    if (!passed) return {Renewal::unreadable, {}};
    if (passed->yearly != EntryRecord::yearly_pending) return {Renewal::not_pending, {}};
    const std::optional<std::string> next_date = next_year_date(passed->date);
    if (!next_date) return {Renewal::out_of_range, {}};
    // A 2050 date would become 1951; the next year must follow the passed one inside the diary.
    const DayNumber next_day = date_to_day(*next_date);
    if (next_day <= date_to_day(passed->date) || next_day > last_diary_day)
        return {Renewal::out_of_range, {}};

    EntryRecord copy = *passed;
    copy.date = *next_date;
    const std::optional<std::string> placed = place_copy(dir, next_day, copy);
    if (!placed) return {Renewal::failed, {}};
    // Without the mark the next close finds this copy again instead of making another.
    return {mark_renewed(dir, name, *passed) ? Renewal::renewed : Renewal::unmarked, *placed};
}

PurgeReport purge_old(const StoreDir& dir, DayNumber today, int keep_code,
                      std::chrono::milliseconds lock_patience) {
    PurgeReport report;
    const std::optional<StoreLock> lock = StoreLock::acquire(dir, lock_patience);
    if (!lock) {
        report.store_locked = false;
        return report;
    }
    report.temporaries_removed = store_io::remove_dead_temporaries(dir, is_store_file);
    const bool deletes = known_code(keep_code) != keep_forever;
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

std::vector<std::string> clean_blanks(const StoreDir& dir) {
    std::vector<std::string> deleted;
    for (const std::string& name : list_entry_files(dir)) {
        const std::optional<EntryRecord> entry = read_entry(dir, name);
        if (entry && is_blank(entry->text) && remove_entry_file(dir, name) == StoreError::none)
            deleted.push_back(name);
    }
    return deleted;
}

}  // namespace daybrook
