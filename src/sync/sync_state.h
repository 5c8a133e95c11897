// What the last sync of the diary with a vdir left behind: for every event the two hold in
// common, the vdir file with its etag and content hash, and the entry files that stand for it
// with theirs. The next sync compares each side with it to tell what changed where.
//
// Its text ends with a checksum, so that a text that was cut short or edited is no state at all;
// state_file.h keeps it in a file beside the entries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/day_number.h"
#include "sync/vdir_storage.h"
#include "store/entry_files.h"

namespace daybrook {

// A hash of the entry's likeness (store/entry_likeness.h): entries alike on one day stand for
// the same planned entry of an event. The state keeps it, so its bytes never change.
std::uint64_t entry_key(const EntryRecord& record);

// The tag that an entry received from the vdir file `vdir_name` carries in its record (see
// EntryRecord::event): 12 hex digits of the name's hash.
std::string event_tag(std::string_view vdir_name);

struct SyncedEntry {
    std::string name;  // the entry file, "DAT%05d.%03d"
    Etag etag;
    std::uint64_t key = 0;  // entry_key of its record

    friend bool operator==(const SyncedEntry&, const SyncedEntry&) = default;
};

struct SyncedItem {
    std::string vdir_name;  // "<name>.ics"
    Etag vdir_etag;
    std::uint64_t vdir_hash = 0;  // content_hash of the file
    // The last day up to which the event's repeats were made into entries; later syncs add the
    // days beyond it as the horizon moves, never the days before it again.
    DayNumber horizon = 0;
    bool repeats = false;  // the event repeats without end beyond the horizon
    // Some of the event's entries could not be made (their day was full): the next sync makes
    // the event's entries again as it would for a changed event.
    bool retry = false;
    std::vector<SyncedEntry> entries;

    friend bool operator==(const SyncedItem&, const SyncedItem&) = default;
};

struct SyncState {
    std::string vdir;  // the vdir's real path: a state of another vdir does not count
    std::vector<SyncedItem> items;

    friend bool operator==(const SyncState&, const SyncState&) = default;
};

std::string state_text(const SyncState& state);

// The state a text holds; nothing for a text the diary did not write whole.
std::optional<SyncState> parse_sync_state(std::string_view text);

}  // namespace daybrook
