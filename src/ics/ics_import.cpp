// The import's writer: it adds the entries that plan_calendar (calendar_plan.h) plans for a
// calendar file to the store as one batch, named in the import's record before any takes its
// name, or works out their names in a trial, leaving out the entries the store holds already.
#include "ics/ics_import.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "ics/ics_terms.h"
#include "ics/import_undo.h"
#include "store/entry_batch.h"
#include "store/entry_likeness.h"

namespace daybrook {
namespace {

using EntryKey = std::pair<DayNumber, Likeness>;

// An entry alike on the same day. A stored memo is read as the import would write it (one line,
// cut to memo_limit), so an entry an earlier import made from the same event is known again.
EntryKey key_of(DayNumber day, const EntryRecord& record) {
    Likeness likeness = likeness_of(record);
    likeness.memo = one_line(likeness.memo).substr(0, memo_limit);
    return {day, std::move(likeness)};
}

// What became of an entry of the plan before anything is written: already in the store, on a day
// without room, or the n-th entry of the batch.
struct Placing {
    std::optional<SkipReason> skipped;
    std::string name;  // the name the batch planned, which a trial reports
    std::size_t in_batch = 0;
};

// Each entry already in the store stands for one planned entry alike, once.
std::vector<Placing> plan_batch(const StoreDir& dir, const CalendarPlan& plan, EntryBatch& batch) {
    std::map<EntryKey, int> present;
    std::set<DayNumber> days_read;
    for (const PlannedEntry& entry : plan.entries) {
        if (days_read.insert(entry.day).second)
            for (const EntryRecord& record : day_entries(dir, entry.day)) ++present[key_of(entry.day, record)];
    }
    std::vector<Placing> placings;
    std::size_t batched = 0;
    for (const PlannedEntry& entry : plan.entries) {
        if (int& count = present[key_of(entry.day, entry.record)]; count > 0) {
            --count;
            placings.push_back({SkipReason::already_there});
        } else if (AddedEntry added = batch.add(entry.day, entry.record); added.error != StoreError::none) {
            placings.push_back({SkipReason::day_full});
        } else {
            placings.push_back({std::nullopt, std::move(added.name), batched++});
        }
    }
    return placings;
}

// Writes the batch, its files named in the import's record before any takes its name, so that an
// import stopped at any point is undone whole; the record then says the import finished.
BatchOutcome write_recorded(const StoreDir& dir, EntryBatch& batch, ImportReport& report) {
    std::vector<EntryFile> recorded;
    int record_error = 0;
    const auto record = [&](std::span<const EntryFile> files) {
        recorded.insert(recorded.end(), files.begin(), files.end());
        const bool saved = save_import_record(dir, recorded, ImportStage::under_way);
        record_error = saved ? 0 : errno;
        return saved;
    };
    BatchOutcome outcome = batch.write(record);
    if (record_error != 0)
        report.write_error = "the record of this import, which its undo needs, could not be written: " +
                             std::string(std::strerror(record_error));
    if (outcome.names_error != 0 && report.write_error.empty())
        report.write_error = "the diary folder could not be flushed to disk: " + std::string(std::strerror(outcome.names_error));
    return outcome;
}

// The entry the batch wrote, or in a trial would write, with the bytes of its file.
AddedFile added_file(const PlannedEntry& entry, const std::string& name) {
    EntryRecord record = entry.record;
    record.date = day_to_date(entry.day);
    record.file = name;
    return {name, encode(record)};
}

// Adds the planned entries that the store does not hold yet, or in a trial only works out their
// names; the report tells of each in the plan's order.
void add_planned(const StoreDir& dir, const CalendarPlan& plan, ImportMode mode, ImportReport& report) {
    EntryBatch batch(dir);
    const std::vector<Placing> placings = plan_batch(dir, plan, batch);
    const BatchOutcome written = mode == ImportMode::write ? write_recorded(dir, batch, report) : BatchOutcome{};
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        const PlannedEntry& entry = plan.entries[i];
        const auto skip = [&](SkipReason reason) {
            report.skipped.push_back({plan.summaries[entry.event], report_date(plain_day_of(entry.day)), reason});
        };
        const Placing& placing = placings[i];
        if (placing.skipped) {
            skip(*placing.skipped);
            continue;
        }
        const PlacedEntry placed =
            mode == ImportMode::trial ? PlacedEntry{.name = placing.name} : written.entries[placing.in_batch];
        if (placed.error == StoreError::none) {
            report.added.push_back(added_file(entry, placed.name));
        } else if (placed.error == StoreError::day_full) {
            skip(SkipReason::day_full);
        } else {
            skip(SkipReason::write_failed);
            if (report.write_error.empty())
                report.write_error = "an entry of " + report_date(plain_day_of(entry.day)) + " could not be written: " +
                                     (placed.error_number != 0 ? std::strerror(placed.error_number)
                                                               : "the file system refused it");
        }
    }
}

// The record of an import under way already names every entry it wrote; one that cannot be
// marked finished still undoes the import whole, and only tells less of it.
void finish_record(const StoreDir& dir, ImportReport& report) {
    if (report.added.empty() || save_import_record(dir, report.added, ImportStage::finished)) return;
    report.notes.push_back("the record of this import could not be marked finished: its undo will not name the "
                           "entries deleted since");
}

}  // namespace

ImportReport import_ics(const StoreDir& dir, std::string_view text, DayNumber today, const ImportLimits& limits,
                        ImportMode mode) {
    const CalendarPlan plan = plan_calendar(text, today, limits);
    ImportReport report{.error = plan.error, .skipped = plan.skipped, .open_repeats = plan.open_repeats,
                        .altered = plan.altered, .notes = plan.notes};
    if (!report.error.empty()) return report;
    add_planned(dir, plan, mode, report);
    if (mode == ImportMode::write) finish_record(dir, report);
    return report;
}

}  // namespace daybrook
