// What a sync of the diary with a vdir did, as `daybrook --sync` reports it.
#pragma once

#include <string>
#include <vector>

#include "ics/import_report.h"

namespace daybrook {

struct [[nodiscard]] SyncReport {
    std::string error;  // why nothing was done; empty when the sync ran
    int sent = 0;           // events written into the vdir for entries made in the diary
    int received = 0;       // events made into entries (new ones and changed ones), every entry made
    int removed_here = 0;   // events removed from the vdir whose entries went to the trash
    int removed_there = 0;  // events removed from the vdir because the user deleted their entries
    // Removals held back: the sync would have removed most of what the last sync saw on the other
    // side, which a wiped or wrongly mounted folder does. They wait for a sync that accepts them.
    int held_here = 0;
    int held_there = 0;
    std::vector<SkippedItem> not_taken;  // entries an event would have made, and why not
    std::vector<AlteredEvent> altered;   // events received whose entries differ from them
    // What could not be read, written or removed, each naming the event or entry: "the event in
    // call.ics (it cannot be read)". The next sync tries again.
    std::vector<std::string> failures;
    std::vector<std::string> notes;      // what was passed over, each a sentence
    bool state_damaged = false;          // the last sync's state could not be trusted
};

// "sent 3, received 2, removed 1 here, removed 0 there, 1 not taken: the day is full"; the
// reasons of what was not taken follow the count, each once.
std::string summary_line(const SyncReport& report);

}  // namespace daybrook
