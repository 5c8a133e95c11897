#include "store/entry_files.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "calendar/text_helpers.h"
#include "store/file_writes.h"
#include "store/name_order.h"
#include "store/record_io.h"

namespace daybrook {

std::string entry_file_name(DayNumber day, int slot) {
    char name[32];
    std::snprintf(name, sizeof name, "DAT%05d.%03d", static_cast<int>(day), slot);
    return name;
}

bool is_entry_file_name(std::string_view name) noexcept {
    constexpr std::string_view shape = "DAT#####.00#";  // '#' stands for one digit
    if (name.size() != shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = name[i] >= '0' && name[i] <= '9';
        if (shape[i] == '#' ? !digit : name[i] != shape[i]) return false;
    }
    return true;
}

DayNumber day_of_entry_name(std::string_view name) noexcept {
    constexpr std::string_view prefix = "DAT";
    const std::size_t at = name.find(prefix);
    std::string_view digits =
        at == std::string_view::npos ? std::string_view{} : name.substr(at + prefix.size());
    return text_to_int(digits.substr(0, digits.find('.')));
}

std::optional<EntryRecord> read_entry(const StoreDir& dir, std::string_view name) {
    if (!store_io::is_bare_name(name)) return std::nullopt;
    return store_io::read_record(dir, name);
}

AddedEntry add_entry(const StoreDir& dir, DayNumber day, EntryRecord record) {
    record.date = day_to_date(day);
    return add_entry_keeping_date(dir, day, std::move(record));
}

bool slot_taken(const StoreDir& dir, DayNumber day, int slot) {
    return store_io::name_taken(dir, entry_file_name(day, slot));
}

int free_slot_count(const StoreDir& dir, DayNumber day) {
    int free = 0;
    for (int slot = 0; slot < slots_per_day; ++slot) free += slot_taken(dir, day, slot) ? 0 : 1;
    return free;
}

// Slots that are taken are passed over without writing anything; the exclusive placement of
// create_record still decides, so a slot taken meanwhile by another copy of the diary is never
// overwritten.
AddedEntry add_entry_keeping_date(const StoreDir& dir, DayNumber day, EntryRecord record) {
    for (int slot = 0; slot < slots_per_day; ++slot) {
        if (slot_taken(dir, day, slot)) continue;
        record.file = entry_file_name(day, slot);
        switch (store_io::create_record(dir, record.file, encode(record))) {
            case store_io::CreateOutcome::created:
                return {StoreError::none, record.file};
            case store_io::CreateOutcome::taken:
                break;
            case store_io::CreateOutcome::failed:
                return {StoreError::io_error, {}};
        }
    }
    return {StoreError::day_full, {}};
}

std::vector<SlotEntry> slot_entries(const StoreDir& dir, DayNumber day) {
    std::vector<SlotEntry> entries;
    for (int slot = 0; slot < slots_per_day; ++slot) {
        if (const auto bytes = store_io::read_record_bytes(dir, entry_file_name(day, slot)))
            entries.push_back({slot, decode(*bytes), *bytes});
    }
    return entries;
}

std::vector<EntryRecord> day_entries(const StoreDir& dir, DayNumber day) {
    std::vector<EntryRecord> records;
    for (SlotEntry& entry : slot_entries(dir, day)) records.push_back(std::move(entry.record));
    return records;
}

std::vector<std::string> list_entry_files(const StoreDir& dir) {
    return store_io::list_matching(dir, is_entry_file_name).value_or(std::vector<std::string>{});
}

std::optional<StoreListing> list_store(const StoreDir& dir, FileNameTest also) {
    StoreListing listing;
    const auto left_behind = [also](std::string_view name) {
        const std::optional<TemporaryName> temporary = parse_temporary_name(name);
        return temporary && (is_entry_file_name(temporary->target) || also(temporary->target)) &&
               writer_gone(*temporary);
    };
    const bool whole = store_io::for_each_file(dir, [&](std::string_view name) {
        if (is_entry_file_name(name)) listing.entries.emplace_back(name);
        else if (left_behind(name)) listing.leftovers.emplace_back(name);
    });
    if (!whole) return std::nullopt;
    sort_by_name(listing.entries, [](const std::string& name) -> std::string_view { return name; });
    return listing;
}

DayNumber scan_earliest(const StoreDir& dir, DayNumber today) {
    DayNumber earliest = today - 1;
    for (const std::string& name : list_entry_files(dir))
        earliest = std::min(earliest, day_of_entry_name(name));
    return earliest;
}

StoreError remove_entry_file(const StoreDir& dir, std::string_view name, const EntryDisposal& dispose) {
    if (!is_entry_file_name(name)) return StoreError::bad_name;
    const std::string path = (dir / std::string(name)).native();
    const bool gone = dispose ? dispose(path) : ::unlink(path.c_str()) == 0;
    return gone ? StoreError::none : StoreError::io_error;
}

}  // namespace daybrook
