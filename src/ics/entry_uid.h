// The identity of an entry as an event of another calendar: the UID that the calendar file
// written for other programs and the sync with them give it.
//
// - A yearly entry and every copy that the yearly renewal makes of it are one event: its UID
//   follows from the memo, the red-letter flag and the day and month of the record's date, which
//   the renewal carries over unchanged, and from its place among the yearly entries alike on its
//   day (the first, the second, ...), since two such entries of one day are two events and the
//   renewal keeps their order. Whether the entry is still to be renewed does not count.
// - Any other entry's UID follows from its file's name and its whole record, which stay as they
//   are for as long as the entry exists; an entry made later in the same slot with another memo
//   is another event.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "calendar/day_number.h"
#include "store/entry_files.h"
#include "store/entry_likeness.h"
#include "store/entry_record.h"

namespace daybrook {

// The UID of the entry in the file `name`; `alike_before` counts the yearly entries with the same
// memo, flag and date text in the lower slots of its day (see EntryUids).
std::string entry_uid(std::string_view name, const EntryRecord& record, int alike_before);

// The UID of the entry in the store's file `name`, whose record is given: the yearly entries alike
// in the lower slots of its day count, as they do when the whole store is exported.
std::string store_entry_uid(const StoreDir& dir, const std::string& name, const EntryRecord& record);

// Gives the UIDs of a store's entries handed over in name order, counting for each yearly entry
// the entries alike before it on its day.
class EntryUids {
public:
    std::string operator()(std::string_view name, const EntryRecord& record);

private:
    DayNumber m_day = -1;
    // Yearly entries alike (store/entry_likeness.h) whose dates share the day and month, which the
    // renewal's copies keep and which the UID is made of.
    std::map<std::pair<Likeness, std::string>, int> m_alike;
};

}  // namespace daybrook
