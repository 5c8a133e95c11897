#include "store/renewal.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "store/retention.h"

#include "store/memo.h"
#include "store/store_files.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::get;
using testing::put;
using testing::store_names;
using testing::TempDir;

constexpr DayNumber today = 20793;  // 6 December 2026


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
}  // namespace
}  // namespace daybrook
