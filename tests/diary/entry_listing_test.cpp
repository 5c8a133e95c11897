#include "diary/entry_listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/memo.h"
#include "support/temp_dir.h"
#include "support/typed_day.h"

namespace daybrook {
namespace {

using testing::TempDir;

// "day.slot memo" for each listed entry, in the order listed.
std::vector<std::string> lines_of(const std::vector<DiaryEntry>& entries) {
    std::vector<std::string> lines;
    for (const DiaryEntry& entry : entries)
        lines.push_back(day_to_date(entry.day) + "." + std::to_string(entry.slot) + " " + entry.record.text);
    return lines;
}

TEST(EntryListing, ListsDaysInSlotOrderWithinTheDiaryAndFindsWordsByThePagesRule) {
    TempDir dir;
    const DayNumber monday = date_to_day("07/12/26");
    for (const auto& [day, text] : std::vector<std::pair<DayNumber, std::string>>{
             {monday, "Dentist"}, {monday, "Party"}, {monday + 1, "party games"}, {monday + 7, "Later"},
             {last_diary_day, "Last day"}})
        ASSERT_EQ(add_entry(dir.path(), day, Memo(text)).error, StoreError::none);
    // A slot left free between two entries is skipped, not listed empty.
    ASSERT_EQ(remove_entry_file(dir.path(), entry_file_name(monday, 0)), StoreError::none);

    EXPECT_EQ(lines_of(entries_of_days(dir.path(), monday, 7)),
              (std::vector<std::string>{"07/12/26.1 Party", "08/12/26.0 party games"}));
    EXPECT_EQ(lines_of(entries_of_days(dir.path(), monday, 8)).back(), "14/12/26.0 Later");
    // The list never runs past the diary's last day, however many days are asked for.
    EXPECT_EQ(lines_of(entries_of_days(dir.path(), last_diary_day, 29000)),
              std::vector<std::string>{"31/12/50.0 Last day"});
    EXPECT_EQ(lines_of(entries_holding(dir.path(), "party", false)),
              (std::vector<std::string>{"07/12/26.1 Party", "08/12/26.0 party games"}));
    EXPECT_EQ(lines_of(entries_holding(dir.path(), "party", true)),
              std::vector<std::string>{"08/12/26.0 party games"});
    EXPECT_TRUE(entries_holding(dir.path(), "dentist", false).empty());
}

}  // namespace
}  // namespace daybrook
