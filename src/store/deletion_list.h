// The deletion lists: the entries that a key word or a date finds, each line tied to the file it
// was read from, and the deletion of the lines the user chose. A line deletes the entry file it
// was listed for and nothing else, whatever the record's own `file` field says.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calendar/day_number.h"
#include "store/entry_files.h"
#include "store/entry_record.h"

namespace daybrook {

struct ListedEntry {
    std::string name;    // the entry file the line stands for
    RecordBytes bytes;   // its record as read, byte for byte
    EntryRecord record;  // the same, decoded
};

enum class ListKind { key_word, date };

// Every entry of the store that can be read, in the store's order: the one walk over the whole
// store for whatever searches it.
std::vector<ListedEntry> all_entries(const StoreDir& dir);

// Every entry whose memo holds the word (the search rule), in the store's order.
std::vector<ListedEntry> entries_with_word(const StoreDir& dir, std::string_view word, bool case_sensitive);

// The day's entries in slot order.
std::vector<ListedEntry> entries_of_day(const StoreDir& dir, DayNumber day);

// The lines shown for the entries, as record bytes: "date  text" for a key word, "n. date  text"
// for a date; one line saying that nothing was found when the list is empty.
std::vector<std::string> deletion_lines(const std::vector<ListedEntry>& entries, ListKind kind);

// Writes scratch list file n for line n, for the first thousand lines (the names have three
// digits). Returns false when one could not be written.
[[nodiscard]] bool write_scratch_list(const StoreDir& dir, const std::vector<ListedEntry>& entries);

struct DeletionReport {
    std::vector<std::string> deleted;  // entry files removed
    std::vector<std::size_t> left;     // chosen lines whose entry could not be deleted
};

// Deletes the entry file of each chosen line that stands for an entry (the line of an empty list
// stands for none). A file that no longer holds the record it was listed with is not deleted: it
// is another entry now. Such files, and those the file system keeps, are reported as left; a
// file that is gone already is neither.
[[nodiscard]] DeletionReport delete_listed(const StoreDir& dir, const std::vector<ListedEntry>& entries,
                             const std::vector<std::size_t>& chosen, const EntryDisposal& dispose = {});

}  // namespace daybrook
