#include "store/retention.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "store/memo.h"
#include "store/store_files.h"
#include "store/store_lock.h"
#include "support/permissions_bite.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::PermissionsBite;
using testing::TempDir;
namespace fs = std::filesystem;
using testing::get;
using testing::put;
using testing::store_names;

constexpr DayNumber today = 20793;  // 6 December 2026

TEST(Retention, KnowsTheDaysAndTitleOfEachCodeAndTreatsUnknownCodesAsKeepForEver) {
    struct Case {
        int code;
        bool valid;
        int days;
        std::string_view caption;
        DayNumber oldest;
    };
    const Case cases[] = {
        {0, true, 0, "", 20793},
        {1, true, 7, "Saving Entries for One Week", 20786},
        {2, true, 31, "Saving Entries for One Month", 20762},
        {3, true, 365, "Saving Entries for One Year", 20700},
        {4, true, 36500, "Saving Entries Forever", 20700},
        {5, false, 36500, "Saving Entries Forever", 20700},
        {-1, false, 36500, "Saving Entries Forever", 20700},
        {99, false, 36500, "Saving Entries Forever", 20700},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(is_known(KeepCode{c.code}), c.valid) << c.code;
        EXPECT_EQ(keep_days(KeepCode{c.code}), c.days) << c.code;
        EXPECT_EQ(keep_caption(KeepCode{c.code}), c.caption) << c.code;
        EXPECT_EQ(oldest_day(today, KeepCode{c.code}, 20700), c.oldest) << c.code;
    }
}

TEST(Purge, DeletesEntriesThreeDaysAfterTheirDayPlusTheDaysKept) {
    struct Case {
        int code;
        std::map<DayNumber, bool> kept;
    };
    const Case cases[] = {
        {0, {{20790, false}, {20791, true}, {20792, true}, {20793, true}, {20800, true}}},
        {1, {{20783, false}, {20784, true}, {20792, true}}},
        {2, {{20759, false}, {20760, true}}},
        {3, {{20425, false}, {20426, true}}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const auto& [day, kept] : c.kept)
            put(dir.path(), entry_file_name(day, 3), Memo("memo"));
        // Entries of today and later are not even read: a pending yearly one stays pending.
        put(dir.path(), "DAT20793.009", Memo("today").date("06/12/26").yearly(1));
        dir.write("DAT20000.010", "not a slot the diary uses");
        dir.write("TEMPDAT.004", "");
        const PurgeReport report = purge_old(dir.path(), today, KeepCode{c.code});
        for (const auto& [day, kept] : c.kept)
            EXPECT_EQ(dir.exists(entry_file_name(day, 3)), kept) << c.code << ' ' << day;
        EXPECT_EQ(get(dir.path(), "DAT20793.009").yearly, 1);
        EXPECT_TRUE(dir.exists("DAT20000.010"));
        EXPECT_EQ(report.scratch_removed, std::vector<std::string>{"TEMPDAT.004"});
        EXPECT_EQ(store_names(dir).size(), c.kept.size() - 1 + 2) << c.code;
    }
}

TEST(Purge, CarriesAPassedYearlyEntryToTheSameDayNextYearOnce) {
    TempDir dir;
    put(dir.path(), "DAT20792.000",
        Memo("Birthday").date("05/12/26").file("DAT20792.000").yearly(1).red());
    const PurgeReport report = purge_old(dir.path(), today, KeepCode::none);
    EXPECT_EQ(report.renewed, std::vector<std::string>{"DAT20792.000"});
    EXPECT_EQ(report.created, std::vector<std::string>{"DAT21157.000"});
    EXPECT_EQ(get(dir.path(), "DAT21157.000"),
              Memo("Birthday").date("05/12/27").file("DAT21157.000").yearly(1).red().origin("DAT20792.000"));
    EXPECT_EQ(get(dir.path(), "DAT20792.000"),
              Memo("Birthday").date("05/12/26").file("DAT20792.000").yearly(-1).red());
    EXPECT_TRUE(purge_old(dir.path(), today + 1, KeepCode::none).renewed.empty());
    EXPECT_EQ(store_names(dir), (std::vector<std::string>{"DAT20792.000", "DAT21157.000"}));
}
TEST(Purge, KeepsAnExpiredYearlyEntryWhoseNextYearIsFull) {
    TempDir dir;
    put(dir.path(), "DAT20792.000", Memo("Birthday").date("05/12/26").yearly(1));
    for (int slot = 0; slot < slots_per_day; ++slot)
        put(dir.path(), entry_file_name(21157, slot), Memo("busy"));
    const PurgeReport report = purge_old(dir.path(), today + 30, KeepCode::none);
    EXPECT_EQ(report.kept_unrenewed, std::vector<std::string>{"DAT20792.000"});
    EXPECT_TRUE(report.deleted.empty());
    EXPECT_EQ(get(dir.path(), "DAT20792.000").yearly, 1);
    EXPECT_EQ(store_names(dir).size(), 11u);
}

// "Keep for Ever" deletes nothing, but a birthday must still come round again next year.
TEST(Purge, KeepingForEverDeletesNothingButStillCarriesYearlyEntriesOver) {
    for (const KeepCode code : {KeepCode::for_ever, KeepCode{5}, KeepCode{-1}, KeepCode{99}}) {
        TempDir dir;
        put(dir.path(), "DAT20000.000", Memo("old").date("04/10/24").yearly(1));
        put(dir.path(), "DAT19000.000", Memo("older").date("08/01/22"));
        dir.write("TEMPDAT.000", "");
        const PurgeReport report = purge_old(dir.path(), today, code);
        EXPECT_EQ(report.created, std::vector<std::string>{"DAT20365.000"}) << static_cast<int>(code);
        EXPECT_EQ(get(dir.path(), "DAT20365.000").date, "04/10/25") << static_cast<int>(code);
        EXPECT_EQ(get(dir.path(), "DAT20000.000").yearly, -1) << static_cast<int>(code);
        EXPECT_TRUE(report.deleted.empty() && report.scratch_removed.empty()) << static_cast<int>(code);
        EXPECT_EQ(store_names(dir),
                  (std::vector<std::string>{"DAT19000.000", "DAT20000.000", "DAT20365.000", "TEMPDAT.000"}))
            << static_cast<int>(code);
    }
}

// What the store cannot be sure of stays: entries it cannot read, names that only look like
// entries, and everything in a folder it may not change (reported, never half done).
TEST(Purge, LeavesWhatItCannotBeSureOfAndSaysSo) {
    TempDir dir;
    put(dir.path(), "DAT20700.000", Memo("locked birthday").date("04/09/26").yearly(1));
    fs::permissions(dir / "DAT20700.000", fs::perms::none);
    for (const char* name : {"DAT2079x.000", "DATabcde.000", "DAT20700.00a", "DAT20700.0001", "DAT+0700.000"})
        put(dir.path(), name, Memo("look-alike").date("05/12/26").yearly(1));
    {
        PermissionsBite bite;
        const PurgeReport report = purge_old(dir.path(), today, KeepCode::none);
        EXPECT_EQ(report.unreadable, std::vector<std::string>{"DAT20700.000"});
        EXPECT_TRUE(report.deleted.empty() && report.created.empty());
    }
    EXPECT_EQ(store_names(dir).size(), 6u);
    for (const std::string& name : store_names(dir)) EXPECT_EQ(get(dir.path(), name).yearly, 1) << name;

    fs::permissions(dir / "DAT20700.000", fs::perms::owner_read | fs::perms::owner_write);
    put(dir.path(), "DAT20600.000", Memo("expired").date("26/05/26"));
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    PurgeReport report;
    {
        PermissionsBite bite;
        report = purge_old(dir.path(), today, KeepCode::none);
    }
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(report.kept_unrenewed, std::vector<std::string>{"DAT20700.000"});
    EXPECT_EQ(report.delete_failed, std::vector<std::string>{"DAT20600.000"});
    EXPECT_EQ(store_names(dir).size(), 7u);
    EXPECT_EQ(get(dir.path(), "DAT20700.000").yearly, 1);
}
TEST(Purge, KeepsEntriesAsLongAsTheLastCloseUnlessTheUserChoseAShorterTime) {
    struct Case {
        KeepCode last, now;
        KeepChoice choice;
        bool kept;
        std::optional<KeepCode> reported;
        bool last_unfinished = false;
    };
    const Case cases[] = {
        {KeepCode::week, KeepCode::none, KeepChoice::from_settings, true, KeepCode::week},
        {KeepCode::for_ever, KeepCode::month, KeepChoice::from_settings, true, KeepCode::for_ever},
        {KeepCode{9}, KeepCode::year, KeepChoice::from_settings, true, KeepCode{9}},
        {KeepCode::week, KeepCode::none, KeepChoice::chosen_this_run, false, std::nullopt},
        {KeepCode::none, KeepCode::week, KeepChoice::from_settings, true, std::nullopt},
        {KeepCode::month, KeepCode::none, KeepChoice::from_settings, true, KeepCode::month, true},
    };
    for (const Case& c : cases) {
        TempDir dir;
        if (c.last_unfinished) {  // a yearly entry whose next year's day is full
            put(dir.path(), entry_file_name(today - 2, 0), Memo("yearly").date("04/12/26").yearly(1));
            for (int slot = 0; slot < slots_per_day; ++slot) put(dir.path(), entry_file_name(21156, slot), Memo("busy"));
        }
        EXPECT_TRUE(purge_old(dir.path(), today - 1, c.last, KeepChoice::chosen_this_run).store_locked);
        put(dir.path(), entry_file_name(today - 5, 0), Memo("five days ago"));
        const PurgeReport report = purge_old(dir.path(), today, c.now, c.choice);
        EXPECT_EQ(dir.exists(entry_file_name(today - 5, 0)), c.kept) << int(c.last) << ' ' << int(c.now);
        EXPECT_EQ(report.kept_as_last_close, c.reported) << int(c.last) << ' ' << int(c.now);
    }
}

// Without a settings file the default keep code stands in, but where no close of the store was
// recorded either (entry files brought to a new account) it deletes nothing, at that close and
// at later ones, until the user chooses. A store without expired entries is a first start.
TEST(Purge, AMissingSettingsFileLetsNothingExpireWhereNoCloseWasRecorded) {
    struct Case {
        const char* what;
        bool earlier_close;
        DayNumber entry_day;
        KeepChoice choice;
        bool kept, kept_later;
    };
    const Case cases[] = {
        {"restored entries", false, today - 5, KeepChoice::settings_missing, true, true},
        {"a first start", false, today - 1, KeepChoice::settings_missing, true, false},
        {"settings lost after a close", true, today - 5, KeepChoice::settings_missing, false, false},
        {"settings read", false, today - 5, KeepChoice::from_settings, false, false},
        {"a choice made", false, today - 5, KeepChoice::chosen_this_run, false, false},
    };
    for (const Case& c : cases) {
        TempDir dir;
        if (c.earlier_close) {
            EXPECT_TRUE(purge_old(dir.path(), today - 10, KeepCode::none).store_locked);
        }
        put(dir.path(), entry_file_name(c.entry_day, 0), Memo("old"));
        const PurgeReport report = purge_old(dir.path(), today, KeepCode::none, c.choice);
        EXPECT_EQ(dir.exists(entry_file_name(c.entry_day, 0)), c.kept) << c.what;
        EXPECT_EQ(report.kept_without_choice, c.kept && c.entry_day == today - 5) << c.what;
        // The next close reads the settings file this close wrote.
        const PurgeReport later = purge_old(dir.path(), today + 10, KeepCode::none, KeepChoice::from_settings);
        EXPECT_EQ(dir.exists(entry_file_name(c.entry_day, 0)), c.kept_later) << c.what;
        EXPECT_FALSE(later.kept_without_choice) << c.what;
    }
}

// A symbolic link in the lock file's place is not followed: the close makes a fresh lock file
// and does its work, and whatever the link led to stays as it was.
TEST(Purge, ReplacesALockFileThatIsASymbolicLink) {
    for (const char* target : {"../elsewhere", "../missing"}) {
        TempDir root;
        const fs::path store = root / "store";
        fs::create_directory(store);
        root.write("elsewhere", "someone's file");
        fs::create_symlink(target, store / ".daybrook.lock");
        put(store, "DAT20000.000", Memo("old"));
        const PurgeReport report = purge_old(store, today, KeepCode::none, KeepChoice::from_settings,
                                             std::chrono::milliseconds(50));
        EXPECT_TRUE(report.store_locked && report.lock_link_replaced) << target;
        EXPECT_EQ(report.deleted, std::vector<std::string>{"DAT20000.000"}) << target;
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(store / ".daybrook.lock"))) << target;
        EXPECT_EQ(root.read("elsewhere"), "someone's file") << target;
        EXPECT_FALSE(fs::exists(root / "missing")) << target;
        EXPECT_FALSE(purge_old(store, today + 1, KeepCode::none).lock_link_replaced) << target;
    }
}

// Two copies of the diary closing at the same moment (a logout ends both) carry a passed yearly
// entry over exactly once.
TEST(Purge, TwoProcessesClosingAtOnceCarryAnEntryOverOnce) {
    constexpr int yearly_entries = 60;  // enough work for the two purges to overlap
    for (int round = 0; round < 20; ++round) {
        TempDir dir;
        for (int day = 0; day < yearly_entries; ++day)
            EXPECT_EQ(add_entry(dir.path(), 20700 + day, Memo("Anniversary").yearly(1)).error, StoreError::none);
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        pid_t children[2];
        for (pid_t& child : children) {
            child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                char go;
                ::close(ready[1]);
                const bool read_go = ::read(ready[0], &go, 1) == 0;  // both start when the pipe closes
                const PurgeReport report = purge_old(dir.path(), today, KeepCode::none);
                ::_exit(read_go && report.store_locked ? 0 : 1);
            }
        }
        ::close(ready[0]);
        ::close(ready[1]);
        for (pid_t child : children) {
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        ASSERT_EQ(store_names(dir).size(), std::size_t{yearly_entries}) << round;  // the copies alone
    }
}
TEST(Purge, LeavesTheStoreAloneWhileAnotherCopyHoldsIt) {
    TempDir dir;
    put(dir.path(), "DAT20000.000", Memo("old").date("04/10/24").yearly(1));
    const LockAttempt held = StoreLock::acquire(dir.path(), std::chrono::milliseconds(0));
    ASSERT_TRUE(held.lock);
    const PurgeReport report = purge_old(dir.path(), today, KeepCode::none, KeepChoice::from_settings, std::chrono::milliseconds(50));
    EXPECT_FALSE(report.store_locked);
    EXPECT_EQ(store_names(dir), std::vector<std::string>{"DAT20000.000"});
    EXPECT_EQ(get(dir.path(), "DAT20000.000").yearly, 1);
}

TEST(Purge, NeverTouchesAFileNamedInsideARecord) {
    TempDir root;
    const fs::path store = root / "store";
    fs::create_directory(store);
    root.write("victim", "precious");
    put(store, "DAT20790.000", Memo("old").date("03/12/26").file("../victim").yearly(1));
    put(store, "DAT20790.001", Memo("...").date("03/12/26").file("../victim"));
    put(store, "DAT20795.000", Memo("  ").date("08/12/26").file("../victim"));
    EXPECT_EQ(clean_blanks(store).deleted, (std::vector<std::string>{"DAT20790.001", "DAT20795.000"}));
    const PurgeReport report = purge_old(store, today, KeepCode::none);
    EXPECT_EQ(report.deleted, std::vector<std::string>{"DAT20790.000"});
    EXPECT_EQ(get(store, "DAT21155.000").file, "DAT21155.000");
    EXPECT_EQ(root.read("victim"), "precious");
}

TEST(CleanBlanks, DeletesEntriesWhoseMemoHoldsNoMeaningfulCharacter) {
    TempDir dir;
    const std::pair<std::string, bool> memos[] = {{"...", true}, {"Dentist", false},
                                                  {"", true},    {"\xA3", false},
                                                  {"- -", true}, {"?", false}};
    std::vector<std::string> blank;
    for (int slot = 0; slot < 6; ++slot) {
        put(dir.path(), entry_file_name(20800, slot), Memo(memos[slot].first));
        if (memos[slot].second) blank.push_back(entry_file_name(20800, slot));
    }
    dir.write("DAT20800.010", "");
    EXPECT_EQ(clean_blanks(dir.path()).deleted, blank);
    EXPECT_EQ(dir.names().size(), 4u);
}

}  // namespace
}  // namespace daybrook
