// Two-way sync of the diary with a vdir (see vdir_storage.h): entries made in the diary become
// events there, events brought there by vdirsyncer become entries, and a removal on either side
// removes the other, by the rules of sync_table.h and against the state of sync_state.h.
//
// The diary writes into the vdir only new events for its own entries, and removes only events
// whose entries the user deleted. An event it could not hold whole (a long summary, a time, an
// alarm, characters the record's code page lacks) is therefore never rewritten.
//
// The state is a cache: a sync cut short at any point, or one without a state it can trust,
// pairs what it finds on both sides (an entry with the vdir file its own UID names, then an
// event with the entries alike on its days) and makes nothing twice.
#pragma once

#include "calendar/day_number.h"
#include "store/entry_files.h"
#include "sync/sync_report.h"
#include "sync/vdir_storage.h"

namespace daybrook {

// Whether a sync that would remove most of what the last sync saw on the other side goes ahead.
enum class Removals { hold_mass, accept };

struct SyncRequest {
    StoreDir diary;
    VdirPath vdir;  // its real path, by which the state knows it
    DayNumber today = 0;
    // How the entries of removed and changed events leave the diary: the caller's trash.
    EntryDisposal dispose;
    Removals removals = Removals::hold_mass;
};

// Repeats without end become entries up to this many days ahead; each sync adds the days that
// have come within reach since.
inline constexpr int sync_horizon_days = 365;

// Brings the diary and the vdir in step. The caller holds the store's lock. Refuses, with `error`
// set and nothing changed, a vdir that cannot be listed. Removals of more than half of the events
// the last sync saw (at least 3 of them), or of all of at least 2, are held back unless the
// request accepts them: a folder wiped or mounted wrong must not empty the other side. Sends and
// receives go ahead regardless.
SyncReport sync_vdir(const SyncRequest& request);

}  // namespace daybrook
