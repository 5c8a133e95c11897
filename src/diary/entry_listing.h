// The entries the terminal commands print: those of some days from a first one, and those a key
// word finds, each with its day and slot.
#pragma once

#include <string_view>
#include <vector>

#include "calendar/day_number.h"
#include "store/entry_files.h"
#include "store/entry_record.h"

namespace daybrook {

struct DiaryEntry {
    DayNumber day = 0;
    int slot = 0;
    EntryRecord record;
};

// The entries of `days` days from `first` (never past 31/12/2050), day by day in slot order.
// Only those days' files are read, however large the store.
std::vector<DiaryEntry> entries_of_days(const StoreDir& store, DayNumber first, int days);

// Every entry whose memo holds the word, by the rule of the search-results page.
std::vector<DiaryEntry> entries_holding(const StoreDir& store, std::string_view word, bool case_sensitive);

}  // namespace daybrook
