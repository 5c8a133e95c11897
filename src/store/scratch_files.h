// Scratch list files "TEMPDAT.%03d": copies of the records shown in a deletion list, carried
// from one deletion dialog to the next. Any that remain are removed when the diary closes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/entry_files.h"

namespace daybrook {

// "TEMPDAT.%03d" of a list position.
std::string scratch_file_name(int position);

// Whether a bare name is exactly "TEMPDAT." and three digits.
bool is_scratch_file_name(std::string_view name) noexcept;

// An exact copy of the record, its `file` field included, at a list position from 0 to 999;
// other positions are refused (bad_name, or nothing when reading).
StoreError write_scratch(const StoreDir& dir, int position, const EntryRecord& record);
std::optional<EntryRecord> read_scratch(const StoreDir& dir, int position);

// Deletes every scratch list file and returns the names it deleted.
std::vector<std::string> remove_scratch_files(const StoreDir& dir);

}  // namespace daybrook
