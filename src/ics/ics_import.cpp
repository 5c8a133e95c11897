// The import's writer: it adds the entries that plan_calendar (calendar_plan.h) plans for a
// calendar file to the store, or works out their names in a trial, leaving out the entries the
// store holds already.
#include "ics/ics_import.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "ics/ics_terms.h"

namespace daybrook {
namespace {

using EntryKey = std::tuple<DayNumber, std::string, bool, bool>;  // day, memo, red, yearly

EntryKey key_of(DayNumber day, const EntryRecord& record) {
    return {day, one_line(record.text).substr(0, memo_limit), record.red != 0, record.yearly != 0};
}

// Hands out the names add_entry would give, for a trial run that writes nothing: a day's lowest
// slot without a file that was not handed out before.
class TrialSlots {
public:
    explicit TrialSlots(const StoreDir& dir) : m_dir(dir) {}
    AddedEntry add(DayNumber day) {
        for (int slot = 0; slot < slots_per_day; ++slot) {
            if (slot_taken(m_dir, day, slot)) continue;
            std::string name = entry_file_name(day, slot);
            if (m_given.insert(name).second) return {StoreError::none, std::move(name)};
        }
        return {StoreError::day_full, {}};
    }

private:
    StoreDir m_dir;
    std::set<std::string> m_given;
};

// Adds the planned entries that the store does not hold yet, or in a trial only works out their
// names. Each entry already in the store stands for one planned entry alike, once.
void add_planned(const StoreDir& dir, const CalendarPlan& plan, ImportMode mode, ImportReport& report) {
    std::map<EntryKey, int> present;
    std::set<DayNumber> days_read;
    for (const PlannedEntry& entry : plan.entries) {
        if (days_read.insert(entry.day).second)
            for (const EntryRecord& record : day_entries(dir, entry.day)) ++present[key_of(entry.day, record)];
    }
    TrialSlots trial(dir);
    for (const PlannedEntry& entry : plan.entries) {
        const auto skip = [&](SkipReason reason) {
            report.skipped.push_back({plan.summaries[entry.event], report_date(plain_day_of(entry.day)), reason});
        };
        EntryRecord record = entry.record;
        if (int& count = present[key_of(entry.day, record)]; count > 0) {
            --count;
            skip(SkipReason::already_there);
            continue;
        }
        errno = 0;
        const AddedEntry added = mode == ImportMode::trial ? trial.add(entry.day) : add_entry(dir, entry.day, record);
        const int write_errno = errno;  // what made a write fail, read before anything else runs
        if (added.error == StoreError::none) {
            record.date = day_to_date(entry.day);
            record.file = added.name;
            report.added.push_back({added.name, encode(record)});
        } else if (added.error == StoreError::day_full) {
            skip(SkipReason::day_full);
        } else {
            skip(SkipReason::write_failed);
            if (report.write_error.empty())
                report.write_error = "an entry of " + report_date(plain_day_of(entry.day)) + " could not be written: " +
                                     (write_errno != 0 ? std::strerror(write_errno) : "the file system refused it");
        }
    }
}

}  // namespace

ImportReport import_ics(const StoreDir& dir, std::string_view text, DayNumber today, const ImportLimits& limits,
                        ImportMode mode) {
    const CalendarPlan plan = plan_calendar(text, today, limits);
    ImportReport report{.error = plan.error, .skipped = plan.skipped, .open_repeats = plan.open_repeats,
                        .altered = plan.altered, .notes = plan.notes};
    if (report.error.empty()) add_planned(dir, plan, mode, report);
    return report;
}

}  // namespace daybrook
