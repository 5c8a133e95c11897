// File-level helpers of the store, shared by the entry and scratch list files and used nowhere
// else: name checks, pattern listings, bounded reads, and writes that never leave half a record
// under a name that readers look at.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/entry_files.h"
#include "store/entry_record.h"
#include "store/store_result.h"

namespace daybrook::store_io {

// A file name without any directory part: not empty, no '/', no zero byte, not "." or "..".
bool is_bare_name(std::string_view name) noexcept;

// Whether a name matches a listing pattern; '?' and '*' never match a '/' or a leading '.'.
bool matches(std::string_view pattern, std::string_view name) noexcept;

// The names of the regular files (also through symbolic links) of a directory that match the
// pattern, sorted. An unreadable or missing directory lists nothing.
std::vector<std::string> list_matching(const StoreDir& dir, std::string_view pattern);

// Reads up to one record's bytes of a regular file; nothing when it cannot be opened or read.
std::optional<EntryRecord> read_record(const StoreDir& dir, std::string_view name);

// Replaces the file (or makes it) through a temporary file in the same directory and a rename.
// An existing file's permissions are kept.
StoreError replace_record(const StoreDir& dir, std::string_view name, const RecordBytes& bytes);

enum class CreateOutcome { created, taken, failed };

// Creates a file that must not exist yet (an exclusive create, which also refuses a symbolic
// link of that name) and writes the bytes; a file that could not be written whole is removed.
CreateOutcome create_record(const StoreDir& dir, std::string_view name, const RecordBytes& bytes);

}  // namespace daybrook::store_io
