#include "diary/entry_listing.h"

#include <optional>

#include "calendar/text_helpers.h"
#include "store/deletion_list.h"

namespace daybrook {

std::vector<DiaryEntry> entries_of_days(const StoreDir& store, DayNumber first, int days) {
    std::vector<DiaryEntry> entries;
    for (DayNumber day = first; day < first + days && day <= last_diary_day; ++day)
        for (SlotEntry& entry : slot_entries(store, day)) entries.push_back({day, entry.slot, std::move(entry.record)});
    return entries;
}

std::vector<DiaryEntry> entries_holding(const StoreDir& store, std::string_view word, bool case_sensitive) {
    std::vector<DiaryEntry> entries;
    for (ListedEntry& entry : entries_with_word(store, word, case_sensitive))
        entries.push_back({day_of_entry_name(entry.name), text_to_int(view_after(entry.name, ".")),
                           std::move(entry.record)});
    return entries;
}

}  // namespace daybrook
