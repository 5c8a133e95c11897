#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "sync/sync_sides.h"
#include "sync/sync_state.h"
#include "store/memo.h"
#include "store/renewal.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::TempDir;
using testing::event;
using testing::Sides;
using testing::today;

// Every way each side can change between two syncs, and what the second sync makes of it. The
// first sync has sent "Dentist" (10/12/26) and the yearly "Anna" (05/12/26), and received the
// phone's "Call" (12/12/26).
TEST(Sync, BringsEveryPairOfChangesOnTheTwoSidesInStep) {
    struct Case {
        std::string name;
        std::function<void(Sides&)> change;
        DayNumber day;
        std::string summary;
        std::vector<std::string> entries;
        std::set<std::string> events;
    };
    const std::vector<std::string> all = {"05/12/26 Anna [yearly]", "10/12/26 Dentist", "12/12/26 Call"};
    const std::set<std::string> all_events = {"Anna", "Dentist", "Call"};
    const auto remove_entry = [](Sides& s, const std::string& name) {
        ASSERT_EQ(remove_entry_file(s.diary.path(), name), StoreError::none);
    };
    const auto renew = [](Sides& s) { ASSERT_EQ(renew_yearly(s.diary.path(), "DAT20792.000").outcome, Renewal::renewed); };
    const auto change_call = [](Sides& s) { s.vdir.write("call.ics", event("call-1", "Call moved", "20261213")); };
    const std::vector<Case> cases = {
        {"nothing changed", [](Sides&) {}, today, "sent 0, received 0, removed 0 here, removed 0 there", all, all_events},
        {"added here", [](Sides& s) { s.add(20798, Memo("Lunch")); }, today,
         "sent 1, received 0, removed 0 here, removed 0 there",
         {"05/12/26 Anna [yearly]", "10/12/26 Dentist", "11/12/26 Lunch", "12/12/26 Call"},
         {"Anna", "Dentist", "Call", "Lunch"}},
        {"added there", [](Sides& s) { s.vdir.write("gig.ics", event("gig", "Concert", "20261214")); }, today,
         "sent 0, received 1, removed 0 here, removed 0 there",
         {"05/12/26 Anna [yearly]", "10/12/26 Dentist", "12/12/26 Call", "14/12/26 Concert"},
         {"Anna", "Dentist", "Call", "Concert"}},
        {"changed there", change_call, today, "sent 0, received 1, removed 0 here, removed 0 there",
         {"05/12/26 Anna [yearly]", "10/12/26 Dentist", "13/12/26 Call moved"}, {"Anna", "Dentist", "Call moved"}},
        {"removed there", [](Sides& s) { std::filesystem::remove(s.vdir / "call.ics"); }, today,
         "sent 0, received 0, removed 1 here, removed 0 there", {"05/12/26 Anna [yearly]", "10/12/26 Dentist"},
         {"Anna", "Dentist"}},
        {"removed here", [&](Sides& s) { remove_entry(s, "DAT20797.000"); }, today,
         "sent 0, received 0, removed 0 here, removed 1 there", {"05/12/26 Anna [yearly]", "12/12/26 Call"},
         {"Anna", "Call"}},
        {"removed here, changed there: the event comes back",
         [&](Sides& s) { remove_entry(s, "DAT20799.000"); change_call(s); }, today,
         "sent 0, received 1, removed 0 here, removed 0 there",
         {"05/12/26 Anna [yearly]", "10/12/26 Dentist", "13/12/26 Call moved"}, {"Anna", "Dentist", "Call moved"}},
        {"removed on both sides",
         [&](Sides& s) { remove_entry(s, "DAT20799.000"); std::filesystem::remove(s.vdir / "call.ics"); }, today,
         "sent 0, received 0, removed 0 here, removed 0 there", {"05/12/26 Anna [yearly]", "10/12/26 Dentist"},
         {"Anna", "Dentist"}},
        {"renewed here: still one event", renew, today, "sent 0, received 0, removed 0 here, removed 0 there",
         {"05/12/26 Anna [renewed]", "10/12/26 Dentist", "12/12/26 Call", "05/12/27 Anna [yearly]"}, all_events},
        {"purged here: not a deletion", [&](Sides& s) { remove_entry(s, "DAT20797.000"); }, today + 6,
         "sent 0, received 0, removed 0 here, removed 0 there", {"05/12/26 Anna [yearly]", "12/12/26 Call"}, all_events},
        {"a yearly entry gone where the purge would have carried it over: deleted",
         [&](Sides& s) { remove_entry(s, "DAT20792.000"); }, today + 5, "sent 0, received 0, removed 0 here, removed 1 there",
         {"10/12/26 Dentist", "12/12/26 Call"}, {"Dentist", "Call"}},
        {"renewed here, changed there",
         [&](Sides& s) { renew(s); s.vdir.write(s.item_of("Anna"), event("anna", "Anna's day", "20261205", "RRULE:FREQ=YEARLY\n")); },
         today, "sent 0, received 1, removed 0 here, removed 0 there",
         {"05/12/26 Anna [renewed]", "10/12/26 Dentist", "12/12/26 Call", "05/12/27 Anna's day [yearly]"},
         {"Anna's day", "Dentist", "Call"}},
        {"renewed here, removed there", [&](Sides& s) { renew(s); std::filesystem::remove(s.vdir / s.item_of("Anna")); },
         today, "sent 0, received 0, removed 1 here, removed 0 there", {"10/12/26 Dentist", "12/12/26 Call"},
         {"Dentist", "Call"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sides sides;
        sides.add(20792, Memo("Anna").yearly(EntryRecord::yearly_pending));
        sides.add(20797, Memo("Dentist"));
        sides.vdir.write("call.ics", event("call-1", "Call", "20261212"));
        ASSERT_EQ(summary_line(sides.sync()), "sent 2, received 1, removed 0 here, removed 0 there");
        c.change(sides);
        const SyncReport report = sides.sync(c.day);
        EXPECT_EQ(report.error, "");
        EXPECT_TRUE(report.failures.empty());
        EXPECT_EQ(summary_line(report), c.summary);
        std::vector<std::string> entries = store_lines(sides.diary.path());
        EXPECT_EQ(entries, c.entries);
        EXPECT_EQ(sides.summaries(), c.events);
        // Whatever the first change, a third sync finds both sides in step.
        EXPECT_EQ(summary_line(sides.sync(c.day)), "sent 0, received 0, removed 0 here, removed 0 there");
        EXPECT_EQ(store_lines(sides.diary.path()), entries);
    }
}

// A sync cut short at any point leaves no record of what it did; the next one must finish the
// work without making anything twice. Its state restored to the one before stands for every
// such point, and a damaged state for a sync that has nothing to trust.
TEST(Sync, FinishesASyncCutShortOrWithoutStateWithoutMakingAnythingTwice) {
    const std::string in_step = "sent 0, received 0, removed 0 here, removed 0 there";
    const std::vector<std::pair<std::string, std::function<void(TempDir&)>>> damages = {
        {"state from before the cut", [](TempDir&) {}},
        {"one byte changed", [](TempDir& d) { std::string t = d.read(".daybrook-sync"); t[30] ^= 1; d.write(".daybrook-sync", t); }},
        {"cut short", [](TempDir& d) { d.write(".daybrook-sync", d.read(".daybrook-sync").substr(0, 60)); }},
        {"empty", [](TempDir& d) { d.write(".daybrook-sync", ""); }},
    };
    for (const auto& [name, damage] : damages) {
        SCOPED_TRACE(name);
        Sides sides;
        sides.add(20792, Memo("Anna").yearly(EntryRecord::yearly_pending));
        sides.vdir.write("call.ics", event("call-1", "Call", "20261212"));
        sides.vdir.write("week.ics", event("week", "Swim", "20261207", "RRULE:FREQ=WEEKLY;COUNT=3\n"));
        ASSERT_EQ(summary_line(sides.sync()), "sent 1, received 2, removed 0 here, removed 0 there");
        const std::string before = sides.diary.read(".daybrook-sync");
        // Work for the next sync on both sides: one of each action.
        sides.add(20797, Memo("Dentist").red());
        sides.vdir.write("gig.ics", event("gig", "Concert", "20261214", "CATEGORIES:Red Letter Day\n"));
        std::filesystem::remove(sides.vdir / "call.ics");
        ASSERT_EQ(renew_yearly(sides.diary.path(), "DAT20792.000").outcome, Renewal::renewed);
        ASSERT_EQ(summary_line(sides.sync()), "sent 1, received 1, removed 1 here, removed 0 there");
        const std::vector<std::string> entries = store_lines(sides.diary.path());
        const std::vector<std::string> events = sides.vdir.names();
        EXPECT_EQ(entries, (std::vector<std::string>{"05/12/26 Anna [renewed]", "07/12/26 Swim", "10/12/26 Dentist [red]",
                                                     "14/12/26 Swim", "14/12/26 Concert [red]", "21/12/26 Swim",
                                                     "05/12/27 Anna [yearly]"}));

        sides.diary.write(".daybrook-sync", before);
        damage(sides.diary);
        const SyncReport again = sides.sync();
        EXPECT_EQ(again.state_damaged, name != "state from before the cut");
        EXPECT_EQ(summary_line(again), in_step);
        EXPECT_EQ(store_lines(sides.diary.path()), entries);
        EXPECT_EQ(sides.vdir.names(), events);
        EXPECT_EQ(summary_line(sides.sync()), in_step);
    }
}

// Events from other programs are only ever read: those the diary cannot hold whole (a long
// summary, a time and an alarm) stay byte for byte, and go only when the user deletes their
// entry. A vdir emptied behind the diary's back is not taken for every event removed.
TEST(Sync, LeavesOtherProgramsEventsAsTheyAreAndHoldsBackAnEmptiedFolder) {
    Sides sides;
    const std::string long_summary(80, 'x');
    const std::string timed = calendar(
        "BEGIN:VEVENT\nUID:timed\nDTSTAMP:20261201T090000Z\nDTSTART:20261208T093000Z\nSUMMARY:Caf\xC3\xA9 at ten\n"
        "BEGIN:VALARM\nACTION:DISPLAY\nTRIGGER:-PT15M\nDESCRIPTION:x\nEND:VALARM\nEND:VEVENT\n");
    sides.vdir.write("long.ics", event("long", long_summary, "20261209"));
    sides.vdir.write("timed.ics", timed);
    for (int slot = 0; slot < slots_per_day; ++slot) sides.add(20800, Memo("Busy"));
    sides.vdir.write("full.ics", event("full", "One too many", "20261213"));
    const SyncReport first = sides.sync();
    EXPECT_EQ(summary_line(first),
              "sent 10, received 2, removed 0 here, removed 0 there, 1 not taken: the day already holds ten entries");
    EXPECT_EQ(summary_line(sides.sync(today + 1)),
              "sent 0, received 0, removed 0 here, removed 0 there, 1 not taken: the day already holds ten entries");
    EXPECT_EQ(sides.vdir.read("long.ics"), event("long", long_summary, "20261209"));
    EXPECT_EQ(sides.vdir.read("timed.ics"), timed);

    ASSERT_EQ(remove_entry_file(sides.diary.path(), "DAT20796.000"), StoreError::none);
    EXPECT_EQ(summary_line(sides.sync(today + 1)),
              "sent 0, received 0, removed 0 here, removed 1 there, 1 not taken: the day already holds ten entries");
    EXPECT_FALSE(sides.vdir.exists("long.ics"));
    EXPECT_EQ(sides.vdir.read("timed.ics"), timed);

    const std::vector<std::string> entries = store_lines(sides.diary.path());
    for (const std::string& name : sides.vdir.names()) std::filesystem::remove(sides.vdir / name);
    const SyncReport held = sides.sync(today + 1);
    EXPECT_EQ(held.error, "");
    EXPECT_EQ(held.held_here, 12);
    EXPECT_EQ(store_lines(sides.diary.path()), entries);
    EXPECT_TRUE(sides.trashed.empty());
}

// Yearly entries alike on the same day and month of several years share one UID, as the export
// gives them: the event sent for the earliest repeats every year and stands for the later ones,
// where sending each would fail on the name taken, at every sync. A red one is not alike.
TEST(Sync, YearlyEntriesAlikeInSeveralYearsGoAsOneEvent) {
    const std::string in_step = "sent 0, received 0, removed 0 here, removed 0 there";
    Sides sides;
    const DayNumber this_year = 20797;  // 10/12/26
    const DayNumber next_year = this_year + 365;
    sides.add(this_year, Memo("Anna").yearly(EntryRecord::yearly_pending));
    sides.add(next_year, Memo("Anna").yearly(EntryRecord::yearly_pending));
    sides.add(next_year, Memo("Anna").red().yearly(EntryRecord::yearly_pending));
    const SyncReport first = sides.sync();
    EXPECT_EQ(summary_line(first), "sent 2, received 0, removed 0 here, removed 0 there");
    EXPECT_TRUE(first.failures.empty());
    EXPECT_EQ(sides.vdir.names().size(), 2u);
    EXPECT_EQ(summary_line(sides.sync()), in_step);

    // An alike entry of a year before the event's has its UID, but the event does not stand for
    // it: it is reported, and the event's file is never written over.
    Sides later;
    later.add(next_year, Memo("Anna").yearly(EntryRecord::yearly_pending));
    ASSERT_EQ(later.sync().sent, 1);
    const std::string event_file = later.vdir.names().front();
    const std::string event_text = later.vdir.read(event_file);
    later.add(this_year, Memo("Anna").yearly(EntryRecord::yearly_pending));
    EXPECT_EQ(later.sync().failures.size(), 1u);
    EXPECT_EQ(later.vdir.read(event_file), event_text);

    ASSERT_EQ(remove_entry_file(sides.diary.path(), entry_file_name(next_year, 0)), StoreError::none);
    const SyncReport after_deletion = sides.sync();
    EXPECT_TRUE(after_deletion.failures.empty());
    EXPECT_EQ(sides.vdir.names().size(), 2u) << "this year's Anna still stands for the event";
    EXPECT_EQ(summary_line(sides.sync()), in_step);
}

}  // namespace
}  // namespace daybrook
