// A vdir: a folder of iCalendar files, one event (with its moved occurrences) per "<name>.ics",
// as vdirsyncer's `filesystem` storage keeps it in step with a CalDAV server. Files are written
// under a hidden temporary name and renamed, so that vdirsyncer never reads half an event, and
// files the diary did not write are only ever read, never rewritten.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/file_writes.h"

namespace daybrook {

using VdirPath = std::filesystem::path;

// What tells that a file changed without reading it: its inode, size and time of last change,
// as vdirsyncer's own etag does. Empty for a file that is not there. Numbers rather than text:
// a sync that finds nothing changed compares thousands of them.
struct Etag {
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;

    bool empty() const noexcept { return *this == Etag{}; }
    friend bool operator==(const Etag&, const Etag&) = default;
};

struct VdirItem {
    std::string name;  // "<name>.ics", without a directory part
    Etag etag;
};

// The largest item read, as large as the largest calendar file the import takes.
inline constexpr std::size_t largest_vdir_item = std::size_t{64} << 20;

struct VdirListing {
    std::vector<VdirItem> items;
    std::vector<std::string> notes;  // the "*.ics" names left out, and why, for the report
};

// The "*.ics" regular files of the folder (also through a symbolic link), hidden ones left out,
// in name order. A "*.ics" that is no regular file, or a link that leads nowhere, is left out
// with a note; one deleted while the folder is listed is simply not there. Hidden temporary files
// that a write of this storage left when it was killed are removed. Nothing when the folder
// cannot be listed, or whether an item is there cannot be told: a missing or unreadable vdir
// must never look like an empty one, nor an item that cannot be examined like one removed.
[[nodiscard]] std::optional<VdirListing> list_vdir(const VdirPath& vdir);

// The etag of any file (an entry file of the diary as well); empty when it cannot be told.
Etag etag_of(const std::filesystem::path& path);

// The etags of files of one folder, as etag_of tells them, in the order of `names`: each looked up
// from the folder opened once, rather than along its whole path again.
std::vector<Etag> etags_in(const std::filesystem::path& folder, const std::vector<std::string>& names);

struct VdirRead {
    std::string text;
    Etag etag;
};

// The item and the etag of the very file read, taken from the open file before its bytes are
// read, so that a change made while it is read shows as a change at the next sync. Nothing when
// it cannot be read, is no regular file, or is larger than largest_vdir_item.
[[nodiscard]] std::optional<VdirRead> read_vdir_item(const VdirPath& vdir, std::string_view name);

// Items written into the vdir together, as a sync writes the events of many new entries: each
// through a temporary file and a rename, so that vdirsyncer never reads half of one, with one
// flush for all of them before any takes its name and one of the folder after (see FileBatch).
class VdirBatch {
public:
    explicit VdirBatch(const VdirPath& vdir) : m_files(vdir.string()) {}

    // Writes the item's temporary file; the etag the item will have under its name, or nothing
    // when the name is not a plain "*.ics" name or the file could not be written whole.
    [[nodiscard]] std::optional<Etag> add(std::string_view name, std::string_view text);

    // Puts every item added on disk and gives each its name, replacing what had it. The names of
    // the items that could not be placed, or whose place could not be made to last, in the order
    // added.
    [[nodiscard]] std::vector<std::string> place();

private:
    FileBatch m_files;
    std::vector<std::string> m_names;
};

// Deletes the item; true also when it is already gone.
[[nodiscard]] bool remove_vdir_item(const VdirPath& vdir, std::string_view name);

// Whether a name is one this storage reads and writes: "<something>.ics", not hidden, no '/'.
bool is_vdir_item_name(std::string_view name) noexcept;

// The file name for an event's UID, as vdirsyncer names the items it fetches: "<uid>.ics" when
// the UID holds only letters, digits and "-_.@", else a name made from the UID's hash.
std::string vdir_name_for_uid(std::string_view uid);

// FNV-1a over some bytes: the content hash the sync keeps of each side.
std::uint64_t content_hash(std::string_view bytes) noexcept;

}  // namespace daybrook
