#include "store/retention.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "calendar/text_helpers.h"
#include "store/record_io.h"
#include "store/scratch_files.h"

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

// Renews a passed entry when it is yearly. Returns false when the renewal failed: the entry is
// then kept for the next close rather than lost together with its yearly repeat.
bool renew_passed(const StoreDir& dir, const std::string& name, PurgeReport& report) {
    const RenewResult result = renew_yearly(dir, name);
    if (result.outcome == Renewal::renewed) {
        report.renewed.push_back(name);
        report.created.push_back(result.created);
    } else if (result.outcome == Renewal::failed) {
        report.renewal_failed.push_back(name);
        return false;
    }
    return true;
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
    const AddedEntry added = add_entry_keeping_date(dir, next_day, copy);
    if (added.error != StoreError::none) return {Renewal::failed, {}};
    if (!mark_renewed(dir, name, *passed)) {
        // Without the mark the entry would be renewed again at the next close: a second copy.
        remove_entry_file(dir, added.name);
        return {Renewal::failed, {}};
    }
    return {Renewal::renewed, added.name};
}

PurgeReport purge_old(const StoreDir& dir, DayNumber today, int keep_code) {
    PurgeReport report;
    if (known_code(keep_code) == keep_forever) return report;
    const DayNumber delete_before = today - 2 - keep_days(keep_code);
    for (const std::string& name : list_entry_files(dir)) {
        const DayNumber day = day_of_entry_name(name);
        if (day > today - 1 || !renew_passed(dir, name, report) || day >= delete_before) continue;
        if (remove_entry_file(dir, name) == StoreError::none) report.deleted.push_back(name);
    }
    report.scratch_removed = remove_scratch_files(dir);
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
