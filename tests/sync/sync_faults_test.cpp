// The sync under the mishaps of ordinary use: clocks and zones that differ between the close and
// the sync, a close that purged everything, a wiped folder, a lost or stale state, repeats that
// never end, events far ahead, an event edited on the phone, a full day and a trash that refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "store/purge_mark.h"
#include "store/retention.h"
#include "sync/sync_sides.h"

namespace daybrook {
namespace {

using testing::event;
using testing::Sides;
using testing::today;

const std::string in_step = "sent 0, received 0, removed 0 here, removed 0 there";

void close_diary(Sides& sides, DayNumber day) {
    const PurgeReport report = purge_old(sides.diary.path(), day, KeepCode::week);
    ASSERT_TRUE(report.store_locked);
}

// How many entries hold each memo, whatever their day.
std::map<std::string, int> memo_counts(const Sides& sides) {
    std::map<std::string, int> counts;
    for (const std::string& name : list_entry_files(sides.diary.path()))
        if (const auto record = read_entry(sides.diary.path(), name)) ++counts[record->text];
    return counts;
}

// Whether the diary has an entry with the memo on each day from `first` to `last`, every `step`.
bool holds_every(const Sides& sides, const std::string& memo, DayNumber first, DayNumber last, int step) {
    for (DayNumber day = first; day <= last; day += step) {
        const std::vector<EntryRecord> entries = day_entries(sides.diary.path(), day);
        if (std::none_of(entries.begin(), entries.end(), [&](const EntryRecord& e) { return e.text == memo; }))
            return false;
    }
    return true;
}

// The close purges what expired; the sync, whatever its clock says (a zone a day behind the
// close's, a clock set back after it), never takes that for the user's deletions. When every
// synced entry was purged, the sync goes on receiving and sending.
TEST(SyncFaults, APurgeIsNeverADeletionWhateverTheClockOfTheSync) {
    struct Case {
        const char* name;
        DayNumber close_day;
        DayNumber sync_day;
    };
    const Case cases[] = {
        {"the sync's zone a day behind the close's", today + 13, today + 12},
        {"the clock set back after the close", today + 20, today + 12},
        {"the same clock", today + 14, today + 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sides sides;
        const DayNumber first_kept = c.close_day - 2 - 7;
        for (const char* memo : {"Dentist", "Lunch", "Haircut"}) sides.add(today + 1, Memo(memo));
        sides.add(first_kept - 1, Memo("Last purged"));
        ASSERT_EQ(summary_line(sides.sync()), "sent 4, received 0, removed 0 here, removed 0 there");
        close_diary(sides, c.close_day);
        ASSERT_TRUE(list_entry_files(sides.diary.path()).empty()) << "the close purged every entry";
        sides.vdir.write("phone.ics", event("phone", "Call", "20270201"));
        const SyncReport report = sides.sync(c.sync_day);
        EXPECT_EQ(report.error, "");
        EXPECT_EQ(summary_line(report), "sent 0, received 1, removed 0 here, removed 0 there");
        EXPECT_EQ(sides.vdir.names().size(), 5u);
        EXPECT_EQ(summary_line(sides.sync(c.sync_day)), in_step);
    }
}

// On the first day the close kept, a missing entry is the user's deletion, and on the day before
// it a purged one, whatever the clock of the sync.
TEST(SyncFaults, TheFirstDayTheCloseKeptBoundsTheDeletions) {
    Sides sides;
    const DayNumber close_day = today + 20;
    sides.add(close_day - 10, Memo("Expires"));
    sides.add(close_day - 9, Memo("First kept"));
    ASSERT_EQ(sides.sync().sent, 2);
    close_diary(sides, close_day);
    ASSERT_EQ(read_purge_mark(sides.diary.path()), close_day - 9);
    ASSERT_EQ(remove_entry_file(sides.diary.path(), entry_file_name(close_day - 9, 0)), StoreError::none);
    EXPECT_EQ(summary_line(sides.sync(close_day - 12)), "sent 0, received 0, removed 0 here, removed 1 there");
    EXPECT_EQ(sides.vdir.names().size(), 1u) << "the purged entry's event stays";
}

// A sync that would remove most of what the last one saw holds back the removals alone, until one
// accepts them; a removal or two of several goes ahead.
TEST(SyncFaults, MassRemovalsAreHeldBackWhileSendsAndReceivesGoOn) {
    struct Case {
        const char* name;
        void (*change)(Sides&);
        int held_here, held_there;
        const char* summary;  // of the sync that holds back
    };
    const auto wipe_vdir = [](Sides& s) {
        for (const std::string& name : s.vdir.names()) std::filesystem::remove(s.vdir / name);
    };
    const Case cases[] = {
        {"vdir wiped but for one new event",
         [](Sides& s) {
             for (const std::string& name : s.vdir.names()) std::filesystem::remove(s.vdir / name);
             s.vdir.write("new.ics", event("new", "Fresh", "20261220"));
         },
         4, 0, "sent 0, received 1, removed 0 here, removed 0 there"},
        {"diary emptied but for one new entry",
         [](Sides& s) {
             for (const std::string& name : list_entry_files(s.diary.path()))
                 ASSERT_EQ(remove_entry_file(s.diary.path(), name), StoreError::none);
             s.add(today + 9, Memo("Fresh"));
         },
         0, 4, "sent 1, received 0, removed 0 here, removed 0 there"},
        {"the phone deletes every event", wipe_vdir, 4, 0, in_step.c_str()},
        {"one deletion on each side",
         [](Sides& s) {
             std::filesystem::remove(s.vdir / "p1.ics");
             ASSERT_EQ(remove_entry_file(s.diary.path(), entry_file_name(today + 1, 0)), StoreError::none);
         },
         0, 0, "sent 0, received 0, removed 1 here, removed 1 there"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sides sides;
        sides.add(today + 1, Memo("Dentist"));
        sides.add(today + 2, Memo("Lunch"));
        sides.vdir.write("p1.ics", event("p1", "Call", "20261212"));
        sides.vdir.write("p2.ics", event("p2", "Swim", "20261213"));
        ASSERT_EQ(summary_line(sides.sync()), "sent 2, received 2, removed 0 here, removed 0 there");
        c.change(sides);
        const std::vector<std::string> entries = store_lines(sides.diary.path());
        const SyncReport held = sides.sync();
        EXPECT_EQ(held.error, "");
        EXPECT_EQ(summary_line(held), c.summary);
        EXPECT_EQ(held.held_here, c.held_here);
        EXPECT_EQ(held.held_there, c.held_there);
        if (c.held_here + c.held_there == 0) continue;
        const SyncReport again = sides.sync();
        EXPECT_EQ(again.held_here + again.held_there, c.held_here + c.held_there) << "held until accepted";
        const SyncReport accepted = sides.sync(today, Removals::accept);
        EXPECT_EQ(accepted.removed_here + accepted.removed_there, c.held_here + c.held_there);
        EXPECT_EQ(summary_line(sides.sync()), in_step);
    }
}

// The state is a cache: deleting it, keeping an old one (a sync killed after it wrote but before
// it saved), or naming the vdir another way costs a pairing, never a double on either side, even
// for entries whose memo does not come back from the vdir unchanged and for entries of days passed.
TEST(SyncFaults, ALostOrStaleStateDoublesNothing) {
    struct Case {
        const char* name;
        void (*lose)(Sides&, const std::string& before);
    };
    const Case cases[] = {
        {"state deleted", [](Sides& s, const std::string&) { std::filesystem::remove(s.diary / ".daybrook-sync"); }},
        {"state of a sync before", [](Sides& s, const std::string& before) { s.diary.write(".daybrook-sync", before); }},
        {"state of another vdir",
         [](Sides& s, const std::string&) {
             std::string text = s.diary.read(".daybrook-sync");
             text.replace(text.find("\nvdir ") + 6, 0, "/elsewhere");
             s.diary.write(".daybrook-sync", text);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sides sides;
        sides.add(today + 1, Memo("Dentist "));
        sides.add(today + 2, Memo("Tab\there").red());
        sides.add(today + 3, Memo("Anna").yearly(EntryRecord::yearly_pending));
        sides.vdir.write("call.ics", event("call", "Call", "20261208"));
        sides.vdir.write("swim.ics", event("swim", "Swim", "20261207", "RRULE:FREQ=WEEKLY\n"));
        const std::string before = sides.diary.read(".daybrook-sync");
        ASSERT_EQ(summary_line(sides.sync()), "sent 3, received 2, removed 0 here, removed 0 there");
        ASSERT_EQ(summary_line(sides.sync(today + 5)), in_step);
        const std::vector<std::string> events = sides.vdir.names();
        const std::vector<std::string> entries = store_lines(sides.diary.path());
        c.lose(sides, before);
        const SyncReport report = sides.sync(today + 5);
        EXPECT_TRUE(report.failures.empty()) << report.failures.front();
        EXPECT_EQ(summary_line(report), in_step);
        EXPECT_EQ(sides.vdir.names(), events);
        EXPECT_EQ(store_lines(sides.diary.path()), entries);
    }
}

// A state is the state of one vdir: synced with another folder, the diary sends its entries
// there and takes nothing of the first folder's events for removed.
TEST(SyncFaults, TheStateOfAnotherFolderIsNeverTrusted) {
    Sides sides;
    sides.vdir.write("call.ics", event("call", "Call", "20261208"));
    ASSERT_EQ(sides.sync().received, 1);
    testing::TempDir other;
    const SyncReport report = sync_vdir({.diary = sides.diary.path(), .vdir = other.path(), .today = today,
                                         .dispose = [](const std::string&) { return false; }});
    EXPECT_EQ(summary_line(report), "sent 1, received 0, removed 0 here, removed 0 there");
    EXPECT_TRUE(report.failures.empty());
    EXPECT_EQ(other.names().size(), 1u);
}

// Repeats without end hold their days to a year ahead of every sync, however far the day moved;
// a single event years ahead arrives at once.
TEST(SyncFaults, EndlessRepeatsKeepAYearAheadAndFarEventsArrive) {
    Sides sides;
    sides.vdir.write("swim.ics", event("swim", "Swim", "20261207", "RRULE:FREQ=WEEKLY\n"));
    sides.vdir.write("rent.ics", event("rent", "Rent", "20270101", "RRULE:FREQ=MONTHLY\n"));
    sides.vdir.write("far.ics", event("far", "Far trip", "20280601"));
    ASSERT_EQ(summary_line(sides.sync()), "sent 0, received 3, removed 0 here, removed 0 there");
    EXPECT_EQ(memo_counts(sides)["Far trip"], 1);
    for (const DayNumber day : {today + 200, today + 400, today + 800}) {
        SCOPED_TRACE(day_to_date(day));
        close_diary(sides, day);
        EXPECT_EQ(sides.sync(day).failures.size(), 0u);
        const DayNumber next_swim = 20794 + (day - 20794 + 6) / 7 * 7;  // Mondays from 07/12/26
        EXPECT_TRUE(holds_every(sides, "Swim", next_swim, day + 300, 7));
        EXPECT_EQ(summary_line(sides.sync(day)), in_step);
    }
    EXPECT_GE(memo_counts(sides)["Rent"], 10);
}

// An event edited on the phone makes its entries anew from today on and keeps those of days
// passed; moved onto a full day, it is not counted as received, and made once the day frees up.
TEST(SyncFaults, AChangedEventKeepsItsPastAndAFullDayIsTriedAgain) {
    Sides sides;
    const std::string weekly = "RRULE:FREQ=WEEKLY;COUNT=6\n";
    sides.vdir.write("swim.ics", event("swim", "Swim", "20261207", weekly));
    ASSERT_EQ(summary_line(sides.sync()), "sent 0, received 1, removed 0 here, removed 0 there");
    sides.vdir.write("swim.ics", event("swim", "Swim at nine", "20261207", weekly));
    ASSERT_EQ(summary_line(sides.sync(today + 15)), "sent 0, received 1, removed 0 here, removed 0 there");
    EXPECT_EQ(memo_counts(sides)["Swim"], 2) << "07 and 14/12 have passed";
    EXPECT_EQ(memo_counts(sides)["Swim at nine"], 4);

    for (int slot = 0; slot < slots_per_day; ++slot) sides.add(today + 30, Memo("Busy"));
    ASSERT_EQ(sides.sync(today + 15).sent, 10);
    sides.vdir.write("call.ics", event("call", "Call", "20270105"));
    const SyncReport full = sides.sync(today + 15);
    EXPECT_EQ(full.received, 0);
    ASSERT_EQ(full.not_taken.size(), 1u);
    EXPECT_EQ(full.not_taken[0].reason, SkipReason::day_full);
    ASSERT_EQ(remove_entry_file(sides.diary.path(), entry_file_name(today + 30, 9)), StoreError::none);
    const SyncReport freed = sides.sync(today + 15);
    EXPECT_EQ(summary_line(freed), "sent 0, received 1, removed 0 here, removed 1 there");
    EXPECT_EQ(memo_counts(sides)["Call"], 1);
}

// A trash that cannot be written keeps the entries of an event removed on the phone: the sync
// says so, tries again at every sync, and never sends them back.
TEST(SyncFaults, AnUnwritableTrashIsReportedAndNeverUndoesARemoval) {
    Sides sides;
    sides.vdir.write("call.ics", event("call", "Call", "20261208"));
    ASSERT_EQ(sides.sync().received, 1);
    std::filesystem::remove(sides.vdir / "call.ics");
    sides.trash_refuses = true;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const SyncReport report = sides.sync();
        EXPECT_EQ(summary_line(report), in_step);
        EXPECT_EQ(report.failures.size(), 1u);
        EXPECT_TRUE(sides.vdir.names().empty()) << "the entry was sent back";
    }
    sides.trash_refuses = false;
    EXPECT_EQ(summary_line(sides.sync()), "sent 0, received 0, removed 1 here, removed 0 there");
    EXPECT_TRUE(list_entry_files(sides.diary.path()).empty());
}

}  // namespace
}  // namespace daybrook
