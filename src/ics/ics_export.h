// The diary's entries as an iCalendar file (RFC 5545) for other calendar programs.
#pragma once

#include <string>
#include <vector>

#include "store/entry_files.h"

namespace daybrook {

struct IcsExport {
    std::string text;                     // the calendar file, UTF-8, lines ending in CRLF
    int events = 0;                       // the events written into it
    std::vector<std::string> unreadable;  // entry files that could not be read: left out
};

// Every entry of the store as an all-day event on the day its file names: the memo as the
// summary, the category red_letter_category for a red-letter day, and a yearly repeat for an
// entry still to be carried over to next year. Each event's UID is the entry's (entry_uid.h), so
// an entry keeps its UID from one export to the next; a yearly entry and its renewed copies are
// one event. Its DTSTAMP is the time the file was last written.
IcsExport export_ics(const StoreDir& dir);

struct EntryEvent {
    std::string uid;
    std::string text;  // a calendar file holding the one event
};

// One entry as a calendar file of its own, the event exactly as export_ics writes it: what the
// sync puts into a vdir for an entry made in the diary.
EntryEvent entry_event(const StoreDir& dir, const std::string& name, const EntryRecord& record);

}  // namespace daybrook
