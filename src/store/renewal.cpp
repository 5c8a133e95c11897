#include "store/renewal.h"

#include <optional>

#include "calendar/day_number.h"
#include "calendar/next_year.h"
#include "store/entry_likeness.h"
#include "store/record_io.h"

namespace daybrook {
namespace {

// Marks the passed entry as renewed: the record exactly as read, `file` field included, with
// yearly -1, written under the name it was read from.
bool mark_renewed(const StoreDir& dir, std::string_view name, EntryRecord passed) {
    passed.yearly = EntryRecord::yearly_renewed;
    return store_io::replace_record(dir, name, encode(passed)) == StoreError::none;
}

// A copy already on next year's day: left by a renewal that was stopped before it could mark
// the passed entry. A copy names the entry it came from, so two equal yearly entries of one day
// (two "Birthday"s) each get their own; a copy of a memo too long to carry that name is known
// by the entry alike (store/entry_likeness.h) with the same first date on that day alone.
std::optional<std::string> existing_copy(const StoreDir& dir, DayNumber day, const EntryRecord& copy) {
    const bool named = copy.text.size() <= EntryRecord::longest_text_with_origin;
    for (const auto& [slot, found, bytes] : slot_entries(dir, day)) {
        if (likeness_of(found) == likeness_of(copy) && found.date == copy.date && (!named || found.origin == copy.origin))
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

}  // namespace

RenewResult renew_yearly(const StoreDir& dir, std::string_view name) {
    const std::optional<EntryRecord> passed = read_entry(dir, name);
    if (!passed) return {Renewal::unreadable, {}};
    if (passed->yearly != EntryRecord::yearly_pending) return {Renewal::not_pending, {}};
    const std::optional<NextYear> next = next_year(passed->date);
    if (!next) return {Renewal::out_of_range, {}};

    EntryRecord copy = *passed;
    copy.date = next->date;
    copy.origin = std::string(name);
    const std::optional<std::string> placed = place_copy(dir, next->day, copy);
    if (!placed) return {Renewal::failed, {}};
    // Without the mark the next close finds this copy again instead of making another.
    return {mark_renewed(dir, name, *passed) ? Renewal::renewed : Renewal::unmarked, *placed};
}

}  // namespace daybrook
