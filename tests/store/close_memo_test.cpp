#include "store/close_memo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "store/retention.h"
#include "store/store_lock.h"

#include "store/memo.h"
#include "store/store_files.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::put;
using testing::store_names;
using testing::TempDir;
namespace fs = std::filesystem;

constexpr DayNumber today = 20793;  // 6 December 2026

TEST(Purge, ListsTheWholeFolderWhenTheCloseMemoCannotBeTrusted) {
    const std::string untrusted[] = {
        "daybrook-close -2147483648 0 20790\n", "daybrook-close 20790 0 -2147483648\n",
        "daybrook-close 2147483647 0 20790\n",  "daybrook-close 0 0 20790\n",
        "daybrook-close 29585 0 20790\n",       "daybrook-close 20800 0 20790\n",
        "daybrook-close 20790 0 20800\n",       "daybrook-close 20790 0\n",
        "daybrook-close 20790 0 20790 1\n",
    };
    for (const std::string& note : untrusted) {
        TempDir dir;
        dir.write(".daybrook.lock", note);
        put(dir.path(), "DAT20000.000", Memo("behind its back"));
        const auto started = std::chrono::steady_clock::now();
        EXPECT_TRUE(purge_old(dir.path(), today, KeepCode::none).store_locked);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << note;
        EXPECT_FALSE(dir.exists("DAT20000.000")) << note;
    }
    TempDir dir;
    EXPECT_TRUE(purge_old(dir.path(), today - 1, KeepCode::none).store_locked);
    for (int slot = 0; slot < slots_per_day; ++slot)
        put(dir.path(), entry_file_name(today - 1, slot), Memo("slot").date("05/12/26").yearly(1));
    EXPECT_EQ(purge_old(dir.path(), today, KeepCode::none).renewed.size(), std::size_t(slots_per_day));
    EXPECT_EQ(day_entries(dir.path(), 21157).size(), std::size_t(slots_per_day));
}

// A keeping time that only the settings gave (the file vanished, or was replaced by hand) never
// deletes what the last close kept, also when that close could not finish; one the user chose in
// this run does.


// Closes that start where the last complete one ended leave the store exactly as closes that list
// the whole folder every time, day after day, through changes of the keeping time; and they do
// skip the listing (a file put behind their back is found only by the weekly listing).
TEST(Purge, ClosesThatLookOnlyAtTheDaysSinceTheLastOneEndAsFullOnes) {
    TempDir memo_dir;
    TempDir full_dir;
    for (const TempDir* dir : {&memo_dir, &full_dir}) {
        for (DayNumber day = today - 40; day < today + 80; day += 3) {
            EXPECT_EQ(add_entry(dir->path(), day, Memo("plain").date(day_to_date(day))).error, StoreError::none);
            if (day % 7 == 0) {
                EXPECT_EQ(add_entry(dir->path(), day, Memo("yearly").date(day_to_date(day)).yearly(1)).error,
                          StoreError::none);
            }
        }
    }
    const auto store_of = [](const TempDir& dir) {
        std::map<std::string, std::string> files;
        for (const std::string& name : store_names(dir)) files[name] = dir.read(name);
        return files;
    };
    for (DayNumber day = today; day < today + 60; ++day) {
        const KeepCode code = day < today + 20 ? KeepCode::week : day < today + 40 ? KeepCode::for_ever : KeepCode::none;
        EXPECT_TRUE(purge_old(memo_dir.path(), day, code, KeepChoice::chosen_this_run).store_locked);
        fs::remove(full_dir / ".daybrook.lock");  // no memo: the whole folder is listed
        EXPECT_TRUE(purge_old(full_dir.path(), day, code, KeepChoice::chosen_this_run).store_locked);
        ASSERT_EQ(store_of(memo_dir), store_of(full_dir)) << "after the close of day " << day;
    }
    const std::optional<CloseMemo> memo = memo_of(memo_dir.read(".daybrook.lock"));
    ASSERT_TRUE(memo);
    put(memo_dir.path(), "DAT20000.000", Memo("behind its back"));
    EXPECT_TRUE(purge_old(memo_dir.path(), memo->listed_day + 6, KeepCode::none).store_locked);
    EXPECT_TRUE(memo_dir.exists("DAT20000.000")) << "no listing within the week";
    EXPECT_TRUE(purge_old(memo_dir.path(), memo->listed_day + 7, KeepCode::none).store_locked);
    EXPECT_FALSE(memo_dir.exists("DAT20000.000")) << "the weekly listing";
}

}  // namespace
}  // namespace daybrook
