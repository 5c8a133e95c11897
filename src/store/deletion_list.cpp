#include "store/deletion_list.h"

#include <optional>

#include "calendar/text_helpers.h"
#include "store/record_io.h"
#include "store/scratch_files.h"

namespace daybrook {
namespace {

std::optional<ListedEntry> listed(const StoreDir& dir, std::string name) {
    const std::optional<RecordBytes> bytes = store_io::read_record_bytes(dir, name);
    if (!bytes) return std::nullopt;
    return ListedEntry{std::move(name), *bytes, decode(*bytes)};
}

std::string line_of(const EntryRecord& record) { return record.date + "  " + record.text; }

}  // namespace

std::vector<ListedEntry> all_entries(const StoreDir& dir) {
    std::vector<ListedEntry> entries;
    for (std::string& name : list_entry_files(dir))
        if (std::optional<ListedEntry> entry = listed(dir, std::move(name))) entries.push_back(std::move(*entry));
    return entries;
}

std::vector<ListedEntry> entries_with_word(const StoreDir& dir, std::string_view word, bool case_sensitive) {
    std::vector<ListedEntry> entries = all_entries(dir);
    std::erase_if(entries, [&](const ListedEntry& entry) { return !holds_word(entry.record.text, word, case_sensitive); });
    return entries;
}

std::vector<ListedEntry> entries_of_day(const StoreDir& dir, DayNumber day) {
    std::vector<ListedEntry> entries;
    for (SlotEntry& entry : slot_entries(dir, day))
        entries.push_back({entry_file_name(day, entry.slot), entry.bytes, std::move(entry.record)});
    return entries;
}

std::vector<std::string> deletion_lines(const std::vector<ListedEntry>& entries, ListKind kind) {
    if (entries.empty()) return {kind == ListKind::key_word ? "No Match Found" : "No entries for this date"};
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const ListedEntry& entry : entries) {
        const std::string number = kind == ListKind::date ? std::to_string(lines.size() + 1) + ". " : "";
        lines.push_back(number + line_of(entry.record));
    }
    return lines;
}

bool write_scratch_list(const StoreDir& dir, const std::vector<ListedEntry>& entries) {
    bool all_written = true;
    for (std::size_t line = 0; line < entries.size() && line < scratch_positions; ++line)
        all_written &= write_scratch(dir, int(line), entries[line].bytes) == StoreError::none;
    return all_written;
}

DeletionReport delete_listed(const StoreDir& dir, const std::vector<ListedEntry>& entries,
                             const std::vector<std::size_t>& chosen, const EntryDisposal& dispose) {
    DeletionReport report;
    for (std::size_t line : chosen) {
        if (line >= entries.size()) continue;
        const ListedEntry& entry = entries[line];
        if (!store_io::name_taken(dir, entry.name)) continue;  // gone already, by another hand
        const bool unchanged = store_io::read_record_bytes(dir, entry.name) == entry.bytes;
        if (unchanged && remove_entry_file(dir, entry.name, dispose) == StoreError::none)
            report.deleted.push_back(entry.name);
        else report.left.push_back(line);
    }
    return report;
}

}  // namespace daybrook
