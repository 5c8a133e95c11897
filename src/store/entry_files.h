// The entry store: a directory of "DAT%05d.%03d" files, one 111-byte record each.
//
// A file's name carries its day number and its slot (000 to 009, ten entries a day). Every
// function takes the directory it works in. Names are bare file names without a directory part.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/day_number.h"
#include "store/entry_record.h"
#include "store/store_result.h"

namespace daybrook {

using StoreDir = std::filesystem::path;

inline constexpr int slots_per_day = 10;

// "DAT%05d.%03d" of a day number and a slot.
std::string entry_file_name(DayNumber day, int slot);

// Whether a bare name is exactly "DAT", five digits, ".", and a slot from 000 to 009. Names that
// only look like it ("DAT2079x.000", "DAT20793.00a", "DAT20793.010") are not the diary's.
bool is_entry_file_name(std::string_view name) noexcept;

// The day number in an entry file name: the text after "DAT" up to the first ".".
DayNumber day_of_entry_name(std::string_view name) noexcept;

// Reads a record; nothing when the file cannot be opened or read, is not a regular file, or the
// name has a directory part. A short file reads as cleared fields; a longer one by its first
// 111 bytes.
std::optional<EntryRecord> read_entry(const StoreDir& dir, std::string_view name);

// Whether anything has the name of the day's slot: an entry, but also a dangling link or a
// folder, which keep the exclusive create of a new entry out all the same. The one test of a
// slot's room, for writing entries and for counting or trying them beforehand; a writer asks slot
// by slot and stops at the first free one.
bool slot_taken(const StoreDir& dir, DayNumber day, int slot);

// How many of the day's slots are not taken.
int free_slot_count(const StoreDir& dir, DayNumber day);

struct AddedEntry {
    StoreError error = StoreError::none;
    std::string name;  // the file written, when error is none
};

// Adds one occurrence of an entry on a day: sets `date` and `file`, and claims the lowest free
// slot with an exclusive create, moving on when another program took that slot meanwhile.
// Reports day_full when all ten slots are taken, and io_error, leaving no file, when the record
// cannot be written whole.
[[nodiscard]] AddedEntry add_entry(const StoreDir& dir, DayNumber day, EntryRecord record);

// Like add_entry, but keeps the record's own `date` text (the yearly renewal stores 29/02/29
// under the day that text counts to).
[[nodiscard]] AddedEntry add_entry_keeping_date(const StoreDir& dir, DayNumber day, EntryRecord record);

struct SlotEntry {
    int slot = 0;
    EntryRecord record;
    RecordBytes bytes;  // the record as read, for a caller that must find it unchanged before acting
};

// The day's entries in slot order, each with its slot; slots without a readable file skipped.
// The one walk over a day's slots for whatever shows, lists or matches its entries.
std::vector<SlotEntry> slot_entries(const StoreDir& dir, DayNumber day);

// The records of slot_entries alone.
std::vector<EntryRecord> day_entries(const StoreDir& dir, DayNumber day);

// The names of every entry file of the store, in name order, which is chronological; none that
// could not be listed.
std::vector<std::string> list_entry_files(const StoreDir& dir);

// The entry files of the store in name order, and the temporary files that writers of an entry
// file, or of a file `also` names, left behind when they were killed; in one pass over the folder.
struct StoreListing {
    std::vector<std::string> entries;
    std::vector<std::string> leftovers;
};
using FileNameTest = bool (*)(std::string_view name) noexcept;

// Nothing when the folder could not be read whole: for a caller that would take an entry missing
// from the list for one the user deleted.
std::optional<StoreListing> list_store(const StoreDir& dir, FileNameTest also);

// The lowest day number of any entry file, and never later than today - 1.
DayNumber scan_earliest(const StoreDir& dir, DayNumber today);

// How an entry file goes when it is deleted, given the file's path; true when it has left the
// folder. Without one it is removed for good; the deletions a user asks for pass one that moves
// it to the desktop's trash.
using EntryDisposal = std::function<bool(const std::string& path)>;

// Deletes an entry file. Refuses any name that is not an entry file name without a directory.
[[nodiscard]] StoreError remove_entry_file(const StoreDir& dir, std::string_view name, const EntryDisposal& dispose = {});

}  // namespace daybrook
