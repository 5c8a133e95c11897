// A batch of new entries while another program writes into the same folder, and when what must
// stand before the entries (an import's record) cannot be written: no entry is lost or placed
// unnamed, none overwrites another's file, each file names itself, and nothing hidden stays.
#include "store/entry_batch.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "store/memo.h"
#include "support/stored_entry.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::TempDir;

constexpr DayNumber day = 20794;  // 07/12/26

std::string slot(int number) { return entry_file_name(day, number); }

TEST(EntryBatch, AnEntryWhoseSlotIsTakenMeanwhileMovesOnAndIsNamedBeforeItIsPlaced) {
    struct Case {
        const char* what;
        int entries_before;  // slots 0 to this - 1 hold the user's entries
        std::function<bool(const TempDir&)> meanwhile;  // done before the batch's first flush
        std::vector<std::vector<std::string>> rounds;   // the files named before each round is placed
        std::vector<std::string> placed;                 // where "A" and "B" went; "" for none
        std::vector<StoreError> errors;
    };
    const auto take = [](int number) {
        return [number](const TempDir& dir) {
            testing::put_entry(dir.path(), slot(number), Memo("Another program's"));
            return true;
        };
    };
    const Case cases[] = {
        {"nothing meanwhile", 1, [](const TempDir&) { return true; }, {{slot(1), slot(2)}}, {slot(1), slot(2)},
         {StoreError::none, StoreError::none}},
        {"A's slot taken", 1, take(1), {{slot(1), slot(2)}, {slot(3)}}, {slot(3), slot(2)},
         {StoreError::none, StoreError::none}},
        {"A's slot taken on a day that then is full", 8, take(8), {{slot(8), slot(9)}}, {"", slot(9)},
         {StoreError::day_full, StoreError::none}},
        {"the record refused", 0,
         [](const TempDir&) {
             errno = EROFS;
             return false;
         },
         {{slot(0), slot(1)}}, {"", ""}, {StoreError::io_error, StoreError::io_error}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (int number = 0; number < c.entries_before; ++number) testing::put_entry(dir.path(), slot(number), Memo("Mine"));
        EntryBatch batch(dir.path());
        ASSERT_EQ(batch.add(day, Memo("A")).error, StoreError::none) << c.what;
        ASSERT_EQ(batch.add(day, Memo("B")).error, StoreError::none) << c.what;
        std::vector<std::vector<std::string>> rounds;
        const BatchOutcome outcome = batch.write([&](std::span<const EntryFile> files) {
            rounds.emplace_back();
            for (const EntryFile& file : files) {
                rounds.back().push_back(file.name);
                EXPECT_EQ(decode(file.bytes).file, file.name) << c.what << ": the record names another file";
            }
            return rounds.size() > 1 || c.meanwhile(dir);
        });
        EXPECT_EQ(rounds, c.rounds) << c.what;
        ASSERT_EQ(outcome.entries.size(), 2u) << c.what;
        for (std::size_t at = 0; at < 2; ++at) {
            const PlacedEntry& placed = outcome.entries[at];
            EXPECT_EQ(placed.error, c.errors[at]) << c.what << ", entry " << at;
            EXPECT_EQ(placed.name, c.placed[at]) << c.what << ", entry " << at;
            EXPECT_EQ(placed.error_number, placed.error == StoreError::io_error ? EROFS : 0) << c.what;
            if (placed.name.empty()) continue;
            const std::optional<EntryRecord> record = read_entry(dir.path(), placed.name);
            ASSERT_TRUE(record) << c.what;
            EXPECT_EQ(record->text, at == 0 ? "A" : "B") << c.what;
            EXPECT_EQ(record->file, placed.name) << c.what;
            EXPECT_EQ(record->date, "07/12/26") << c.what;
        }
        for (const std::string& name : dir.names()) EXPECT_FALSE(name.starts_with('.')) << c.what << ": " << name << " left";
        // The batch's entries are where it says, and every other file is as its writer left it.
        for (const std::string& name : list_entry_files(dir.path())) {
            const std::string text = read_entry(dir.path(), name)->text;
            EXPECT_EQ(name == c.placed[0] || name == c.placed[1], text == "A" || text == "B") << c.what << ": " << name;
        }
    }
}

}  // namespace
}  // namespace daybrook
