// File-level helpers of the store, shared by the entry and scratch list files and used nowhere
// else: name checks, pattern listings, bounded reads, and writes that never leave half a record
// under a name that readers look at.
#pragma once

#include <functional>
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

// Whether a bare name is one of a kind of the store's files.
using NameTest = bool (*)(std::string_view name) noexcept;

// Calls `visit` with the name of every regular file (also through a symbolic link) of a
// directory, hidden ones included, in the directory's own order. False when the directory could
// not be opened or read to its end: then the names visited are not all there are.
[[nodiscard]] bool for_each_file(const StoreDir& dir, const std::function<void(std::string_view name)>& visit);

// The names of the regular files of a directory that pass the test, sorted; nothing when the
// directory could not be read whole.
std::optional<std::vector<std::string>> list_matching(const StoreDir& dir, NameTest test);

// Reads up to one record's bytes of a file, the rest zero; nothing when it cannot be opened or
// read, or is no regular file (a FIFO, say).
std::optional<RecordBytes> read_record_bytes(const StoreDir& dir, std::string_view name);

// The record those bytes hold.
std::optional<EntryRecord> read_record(const StoreDir& dir, std::string_view name);

// Writes the bytes over the start of the file in place, or makes it (private to the user),
// without truncating or flushing it: for scratch files, which nothing needs after a crash and
// which are rewritten a thousand at a time. A symbolic link of that name is refused.
[[nodiscard]] StoreError overwrite_record(const StoreDir& dir, std::string_view name, const RecordBytes& bytes);

// Replaces the file (or makes it) through a temporary file in the same directory and a rename.
// An existing file's permissions are kept.
[[nodiscard]] StoreError replace_record(const StoreDir& dir, std::string_view name, const RecordBytes& bytes);

enum class CreateOutcome { created, taken, failed };

// Creates a file that must not exist yet (a symbolic link of that name counts as existing); its
// bytes are complete and on disk before its name appears.
CreateOutcome create_record(const StoreDir& dir, std::string_view name, const RecordBytes& bytes);

// Whether the folder holds a regular file of that name, also through a symbolic link that stays
// inside the folder: what a listing of the store would list.
bool holds_file(const StoreDir& dir, std::string_view name);

// Whether the folder holds anything of that name (a dangling link too).
bool name_taken(const StoreDir& dir, std::string_view name);

// Flushes the store's list of names to disk.
[[nodiscard]] bool sync_store(const StoreDir& dir);

// Whether the name is that of a temporary file that a process no longer running left while
// writing a store file (killed half way). Other hidden files are not.
bool is_dead_temporary(std::string_view name, NameTest store_file);

// Deletes a file of the directory; false when the name has a directory part or the file
// could not be deleted.
[[nodiscard]] bool remove_file(const StoreDir& dir, std::string_view name);

}  // namespace daybrook::store_io
