// Scratch list files "TEMPDAT.%03d": copies of the records shown in a deletion list, carried
// from one deletion dialog to the next. Any that remain are removed when the diary closes.
#pragma once

#include <string>
#include <vector>

#include "store/entry_files.h"

namespace daybrook {

// "TEMPDAT.%03d" of a list position.
std::string scratch_file_name(int position);

// Whether a bare name is exactly "TEMPDAT." and three digits.
bool is_scratch_file_name(std::string_view name) noexcept;

// The list positions that have scratch files: "%03d" gives every position three digits.
inline constexpr int scratch_positions = 1000;

// Writes the record's bytes, exactly as they were read from its entry file, as the scratch list
// file of a position from 0 to 999; other positions are refused with bad_name.
[[nodiscard]] StoreError write_scratch(const StoreDir& dir, int position, const RecordBytes& bytes);

// Removes the scratch files of the positions 0 to count - 1 and returns the names of those that
// could not be removed.
[[nodiscard]] std::vector<std::string> remove_scratch_list(const StoreDir& dir, int count);


}  // namespace daybrook
