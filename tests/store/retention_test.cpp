#include "store/retention.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "store/close_memo.h"
#include "store/memo.h"
#include "store/renewal.h"
#include "store/store_lock.h"
#include "support/permissions_bite.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::PermissionsBite;
using testing::TempDir;
namespace fs = std::filesystem;

constexpr DayNumber today = 20793;  // 6 December 2026

// Writes the record as it is, `file` field included, as another program might have.
void put(const fs::path& dir, const std::string& name, const EntryRecord& record) {
    const RecordBytes bytes = encode(record);
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

EntryRecord get(const fs::path& dir, const std::string& name) {
    return read_entry(dir, name).value_or(Memo("<missing>"));
}

// The names in the store folder but the lock file that every purge leaves.
std::vector<std::string> store_names(const TempDir& dir) {
    std::vector<std::string> names = dir.names();
    std::erase(names, ".daybrook.lock");
    std::erase(names, ".daybrook-purged");
    return names;
}

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

TEST(Renewal, BuildsNextYearsDateTextAndLeavesImpossibleYearsAlone) {
    struct Case {
        std::string name, date;
        int yearly;
        Renewal outcome;
        std::string created, next_date;
    };
    const Case cases[] = {
        {"DAT10957.000", "31/12/99", 1, Renewal::renewed, "DAT11322.000", "31/12/00"},
        // The last day the diary holds is still a next year; the day after it is none.
        {"DAT29219.000", "31/12/49", 1, Renewal::renewed, "DAT29584.000", "31/12/50"},
        {"DAT29220.000", "01/01/50", 1, Renewal::out_of_range, "", ""},
        // Kept under the day its text counts to, 1 March 2029.
        {"DAT21243.000", "29/02/28", 1, Renewal::renewed, "DAT21609.000", "29/02/29"},
        // 2051 would read as 1951.
        {"DAT29558.000", "05/12/50", 1, Renewal::out_of_range, "", ""},
        {"DAT20792.000", "05/13/26", 1, Renewal::out_of_range, "", ""},
        {"DAT20792.000", "garbage", 1, Renewal::out_of_range, "", ""},
        {"DAT20792.000", "1/1/9999", 1, Renewal::out_of_range, "", ""},
        {"DAT20792.000", "05/12/26", 0, Renewal::not_pending, "", ""},
        {"DAT20792.000", "05/12/26", -1, Renewal::not_pending, "", ""},
    };
    for (const Case& c : cases) {
        TempDir dir;
        put(dir.path(), c.name, Memo("yearly").date(c.date).yearly(c.yearly));
        const std::string before = dir.read(c.name);
        const RenewResult result = renew_yearly(dir.path(), c.name);
        EXPECT_EQ(result.outcome, c.outcome) << c.date;
        EXPECT_EQ(result.copy, c.created) << c.date;
        if (c.outcome == Renewal::renewed) {
            EXPECT_EQ(get(dir.path(), c.created).date, c.next_date);
            EXPECT_EQ(get(dir.path(), c.name).yearly, -1);
        } else {
            EXPECT_EQ(dir.read(c.name), before) << c.date;
            EXPECT_EQ(dir.names().size(), 1u) << c.date;
        }
    }
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

// A renewal stopped at any point (killed, or the machine went down) and run again never gives a
// second copy, never an empty entry, and leaves no temporary file behind.
TEST(Renewal, RunAgainAfterAnInterruptionMakesNoSecondCopy) {
    TempDir dir;
    const EntryRecord passed = Memo("Anniversary").date("05/12/26").file("DAT20792.000").yearly(1);
    put(dir.path(), "DAT20792.000", passed);
    // Killed after next year's copy was in place, before the passed entry was marked.
    put(dir.path(), "DAT21157.000",
        Memo("Anniversary").date("05/12/27").file("DAT21157.000").yearly(1).origin("DAT20792.000"));
    // Killed while writing copies: temporary files of writers that are gone, and one of a writer
    // that still runs (this test), which must stay.
    dir.write(".DAT21157.001.new-999999999-0", "half");
    dir.write(".TEMPDAT.000.new-999999999-3", "");
    const std::string ours = ".DAT21158.000.new-" + std::to_string(::getpid()) + "-0";
    dir.write(ours, "");
    dir.write(".profile.new-999999999-0", "not the diary's");

    const PurgeReport report = purge_old(dir.path(), today, KeepCode::week);
    EXPECT_EQ(report.created, std::vector<std::string>{"DAT21157.000"});
    EXPECT_EQ(report.temporaries_removed,
              (std::vector<std::string>{".DAT21157.001.new-999999999-0", ".TEMPDAT.000.new-999999999-3"}));
    EXPECT_EQ(get(dir.path(), "DAT20792.000").yearly, -1);
    EXPECT_EQ(store_names(dir),
              (std::vector<std::string>{".DAT21158.000.new-" + std::to_string(::getpid()) + "-0",
                                        ".profile.new-999999999-0", "DAT20792.000", "DAT21157.000"}));
    // A copy that differs (another memo the same day) is not taken for it.
    put(dir.path(), "DAT20791.000", Memo("Anniversary").date("04/12/26").yearly(1));
    put(dir.path(), "DAT21156.000", Memo("Anniversary!").date("04/12/27").yearly(1));
    EXPECT_EQ(renew_yearly(dir.path(), "DAT20791.000").copy, "DAT21156.001");
}

// Two equal yearly entries of one day are two birthdays: each comes round next year, also when
// a renewal was stopped after one copy was made. A memo too long to name its origin beside it is
// still carried over once.
TEST(Renewal, EqualYearlyEntriesOfOneDayEachGetTheirOwnCopy) {
    const std::string long_memo(70, 'L');
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, EntryRecord>> before;
        std::size_t copies;
    };
    const EntryRecord birthday = Memo("Birthday").date("05/12/26").yearly(1);
    const Case cases[] = {
        {"two at once", {{"DAT20792.000", birthday}, {"DAT20792.001", birthday}}, 2},
        {"the first copy made before an interruption",
         {{"DAT20792.000", birthday},
          {"DAT20792.001", birthday},
          {"DAT21157.000", Memo("Birthday").date("05/12/27").yearly(1).origin("DAT20792.001")}},
         2},
        {"a long memo's copy made before an interruption",
         {{"DAT20792.000", Memo(long_memo).date("05/12/26").yearly(1)},
          {"DAT21157.000", Memo(long_memo).date("05/12/27").yearly(1)}},
         1},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const auto& [name, record] : c.before) put(dir.path(), name, record);
        const PurgeReport report = purge_old(dir.path(), today + 30, KeepCode::none);
        EXPECT_EQ(report.deleted.size(), c.copies) << c.what;
        const std::vector<EntryRecord> next_year = day_entries(dir.path(), 21157);
        ASSERT_EQ(next_year.size(), c.copies) << c.what;
        std::set<std::string> origins;
        for (const EntryRecord& copy : next_year) origins.insert(copy.origin);
        if (c.copies == 2) {
            EXPECT_EQ(origins, (std::set<std::string>{"DAT20792.000", "DAT20792.001"})) << c.what;
        }
    }
}

// A damaged memo, or one that a clock set back makes lie in the future, is no memo: the close
// lists the whole folder, at once, and finds the entry put behind its back. A memo that can be
// trusted looks at every slot of the days since.
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
