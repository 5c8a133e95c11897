// Two-way sync of the diary with a vdir (see vdir_storage.h): entries made in the diary become
// events there, events brought there by vdirsyncer become entries, and a removal on either side
// removes the other, by the rules of sync_table.h and against the state of sync_state.h.
//
// The diary writes into the vdir only new events for its own entries, and removes only events
// whose entries the user deleted. An event it could not hold whole (a long summary, a time, an
// alarm, characters the record's code page lacks) is therefore never rewritten. The sync can be
// cut short at any point: the next one pairs what it finds on both sides by contents and ends
// the work without making anything twice.
#pragma once

#include "calendar/day_number.h"
#include "sync/sync_report.h"
#include "sync/vdir_storage.h"
#include "store/entry_files.h"
#include "store/keep_code.h"

namespace daybrook {

struct SyncRequest {
    StoreDir diary;
    VdirPath vdir;  // absolute
    DayNumber today = 0;
    // The keep code of the settings; KeepCode::none when they cannot be read, so that an entry
    // the purge may have removed never passes for one the user deleted.
    KeepCode keep_code = KeepCode::none;
    // How the entries of removed and changed events leave the diary: the caller's trash.
    EntryDisposal dispose;
};

// Repeating events become entries up to this many days ahead; each sync adds the days that
// have come within reach since.
inline constexpr int sync_horizon_days = 365;

// Brings the diary and the vdir in step. The caller holds the store's lock. Refuses, with
// `error` set and nothing changed, a vdir that cannot be listed, and a vdir or diary that is
// empty where the last sync saw several events: a folder wiped or mounted wrong must not empty
// the other side.
SyncReport sync_vdir(const SyncRequest& request);

}  // namespace daybrook
