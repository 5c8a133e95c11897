// The sync killed, by strace, at each of its file operations: at every rename, deletion, write
// and file opening in turn. Whatever the point, the syncs run after it end the diary and the vdir
// where unbroken syncs from the same start end them: the same entries, the same events, none
// twice and none lost, nothing half-written left in either folder, and no failure reported.
//
// Started as "--sync DIARY VDIR DAY", the program only runs that one sync and exits with the
// number of failures it reported: that is the process strace kills.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "ics/calendar_files.h"
#include "ics/windows_1252.h"
#include "store/memo.h"
#include "support/environment_guard.h"
#include "support/temp_dir.h"
#include "support/traced_run.h"
#include "support/typed_day.h"
#include "sync/sync_run.h"
#include "sync/sync_sides.h"
#include "sync/state_file.h"

namespace daybrook {
namespace {

using testing::EnvironmentGuard;
using testing::Outcome;
using testing::strace_works;
using testing::TempDir;
using testing::TracedRun;
using testing::run_traced;

constexpr DayNumber today = 20793;  // 06/12/26

// In one zone, for this process and the traced ones it starts alike.
SyncReport sync_once(const StoreDir& diary, const VdirPath& vdir, DayNumber day) {
    const EnvironmentGuard zone(EnvironmentGuard::Values{{"TZ", "UTC0"}});
    return sync_vdir({.diary = diary, .vdir = vdir, .today = day,
                      .dispose = [](const std::string& path) { return std::filesystem::remove(path); }});
}

int problems_of(const SyncReport& report) { return int(report.failures.size()) + int(!report.error.empty()); }

// A diary and a vdir side by side.
struct Sides {
    TempDir diary;
    TempDir vdir;

    void add(const std::string& date, const EntryRecord& record) const {
        ASSERT_EQ(add_entry(diary.path(), date_to_day(date), record).error, StoreError::none) << date;
    }
    // The entry file holding the memo; "none" when there is none.
    std::string entry_with(const std::string& memo) const {
        for (const std::string& name : list_entry_files(diary.path()))
            if (const auto record = read_entry(diary.path(), name); record && record->text == memo) return name;
        return "none";
    }
};

// Entries made in the diary whose memos do not all come back from their events as they went: a
// trailing space, a control character.
void first_sync_start(Sides& sides) {
    sides.add("08/12/26", Memo("Dentist "));
    sides.add("08/12/26", Memo("Pharmacy"));
    sides.add("10/12/26", Memo("School play").red());
    sides.add("13/12/26", Memo("Anna's birthday").yearly(EntryRecord::yearly_pending));
    sides.add("15/12/26", Memo("Pay\x07rent"));
    sides.add("17/12/26", Memo("Lunch with Bo ").red());
    sides.add("23/12/26", Memo("Holiday"));
    sides.vdir.write("bank.ics", testing::event("bank-1", "Call the bank", "20261211"));
    // Each week of a weekly event up to a year ahead becomes an entry: starting late in that year,
    // it still has repeats beyond the horizon, and only a few entries to be killed at.
    sides.vdir.write("swim.ics", testing::event("swim-1", "Swimming", "20271101", "RRULE:FREQ=WEEKLY\n"));
    sides.vdir.write("wedding.ics", testing::event("wedding-1", "Wedding anniversary", "20270105", "RRULE:FREQ=YEARLY\n"));
    sides.vdir.write("cafe.ics", testing::event("cafe-1", "Caf\xC3\xA9 Luna", "20261219"));
}

// After a first sync: an entry deleted by the user and a new one made; on the phone an event
// deleted, one moved to another day and renamed, and one added.
void second_sync_start(Sides& sides) {
    first_sync_start(sides);
    const SyncReport first = sync_once(sides.diary.path(), sides.vdir.path(), today);
    ASSERT_EQ(problems_of(first), 0) << summary_line(first);
    ASSERT_EQ(remove_entry_file(sides.diary.path(), sides.entry_with("Holiday")), StoreError::none);
    sides.add("19/12/26", Memo("Haircut"));
    std::filesystem::remove(sides.vdir / "bank.ics");
    sides.vdir.write("cafe.ics", testing::event("cafe-1", "Caf\xC3\xA9 Luna, upstairs", "20261220"));
    sides.vdir.write("gig.ics", testing::event("gig-1", "Concert", "20261221"));
}

struct Scenario {
    const char* name;
    void (*start)(Sides&);
};
constexpr Scenario scenarios[] = {{"first sync", first_sync_start}, {"second sync", second_sync_start}};

// What the two folders hold, as far as the sync answers for it.
struct Contents {
    std::multiset<std::string> entries;  // "dd/mm/yy memo", the memo trimmed, " [red]", " [yearly]"
    std::multiset<std::string> events;   // SUMMARY, DTSTART and RRULE lines, the UID left out
    std::vector<std::string> leftovers;  // hidden files but the sync's state, entries not 111 bytes

    friend bool operator==(const Contents&, const Contents&) = default;
};

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// The memo trimmed, in UTF-8, its control characters shown as "\xNN".
std::string shown_memo(std::string_view text) {
    std::string shown;
    for (const char c : windows_1252_to_utf8(trimmed(text))) {
        char code[8];
        std::snprintf(code, sizeof code, "\\x%02x", static_cast<unsigned char>(c));
        shown += static_cast<unsigned char>(c) < 0x20 ? code : std::string(1, c);
    }
    return shown;
}

std::string entry_line(const std::string& name, const EntryRecord& record) {
    std::string line = day_to_date(day_of_entry_name(name)) + " " + shown_memo(record.text);
    if (record.red != 0) line += " [red]";
    if (record.yearly != EntryRecord::not_yearly) line += " [yearly]";
    return line;
}

// The event's lines that say what it is, unfolded, in the order the file gives them.
std::string event_line(const std::string& text) {
    std::string unfolded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "\r\n ") == 0) i += 2;
        else if (text[i] != '\r') unfolded += text[i];
    }
    std::string line;
    std::istringstream lines(unfolded);
    for (std::string one; std::getline(lines, one);)
        if (one.starts_with("SUMMARY") || one.starts_with("DTSTART") || one.starts_with("RRULE"))
            line += (line.empty() ? "" : " | ") + one;
    return line;
}

Contents contents_of(const Sides& sides) {
    Contents found;
    for (const std::string& name : sides.diary.names()) {
        const std::filesystem::path path = sides.diary / name;
        if (name.starts_with('.') && name != sync_state_file) found.leftovers.push_back("diary " + name);
        if (!is_entry_file_name(name)) continue;
        if (std::filesystem::file_size(path) != EntryRecord::size) found.leftovers.push_back("diary " + name + " not whole");
        if (const auto record = read_entry(sides.diary.path(), name)) found.entries.insert(entry_line(name, *record));
    }
    for (const std::string& name : sides.vdir.names()) {
        if (name.starts_with('.')) found.leftovers.push_back("vdir " + name);
        else if (name.ends_with(".ics")) found.events.insert(event_line(sides.vdir.read(name)));
    }
    return found;
}

// Syncs until one finds nothing to do, at most five times; the failures they reported.
std::vector<std::string> sync_until_quiet(const Sides& sides) {
    std::vector<std::string> failures;
    for (int run = 0; run < 5; ++run) {
        const SyncReport report = sync_once(sides.diary.path(), sides.vdir.path(), today);
        if (!report.error.empty()) failures.push_back(report.error);
        failures.insert(failures.end(), report.failures.begin(), report.failures.end());
        if (report.sent + report.received + report.removed_here + report.removed_there == 0) return failures;
    }
    failures.push_back("still not in step after five syncs");
    return failures;
}

// What one holds that the other does not, one line each: "+" for more, "-" for less.
std::string differences(const std::multiset<std::string>& got, const std::multiset<std::string>& expected) {
    std::vector<std::string> more;
    std::vector<std::string> less;
    std::set_difference(got.begin(), got.end(), expected.begin(), expected.end(), std::back_inserter(more));
    std::set_difference(expected.begin(), expected.end(), got.begin(), got.end(), std::back_inserter(less));
    std::string text;
    for (const std::string& line : more) text += "\n    + " + line;
    for (const std::string& line : less) text += "\n    - " + line;
    return text;
}

// Runs one sync of the sides under strace with the injection asked for.
TracedRun traced(const Sides& sides, const std::string& injection) {
    const EnvironmentGuard zone(EnvironmentGuard::Values{{"TZ", "UTC0"}});
    return run_traced(injection, {"--sync", sides.diary.path().string(), sides.vdir.path().string(), std::to_string(today)});
}

// Every system call through which the sync changes a file; openat and write also stand for the
// moments before and after each read.
constexpr const char* kill_calls[] = {"rename", "renameat", "renameat2", "unlink", "unlinkat",
                                      "openat", "write",    "pwrite64",  "fsync", "syncfs"};

// Checks the sides after a kill and the syncs that followed it against the unbroken end; the
// text of what went wrong, empty when nothing did.
std::string faults_after_kill(const Sides& sides, const Contents& expected) {
    const std::vector<std::string> failures = sync_until_quiet(sides);
    const Contents found = contents_of(sides);
    std::string text;
    if (found.entries != expected.entries) text += "\n  entries differ:" + differences(found.entries, expected.entries);
    if (found.events != expected.events) text += "\n  events differ:" + differences(found.events, expected.events);
    for (const std::string& name : found.leftovers) text += "\n  left behind: " + name;
    for (const std::string& failure : failures) text += "\n  the syncs after it reported: " + failure;
    return text;
}

// A folder in memory for the test's folders, where there is one: each entry is flushed to disk on
// its own, and the hundreds of runs would take a minute on a disk instead of seconds. The kills
// try the order of the sync's steps, which a disk does not change.
EnvironmentGuard::Values folders_in_memory() {
    constexpr const char* shared_memory = "/dev/shm";
    if (std::filesystem::is_directory(shared_memory) && ::access(shared_memory, W_OK | X_OK) == 0)
        return {{"TMPDIR", shared_memory}};
    return {};
}

// The two sides as syncs that nothing stops end them, from the scenario's start; nothing when
// the start or those syncs failed.
std::optional<Contents> unbroken_end(const Scenario& scenario) {
    Sides unbroken;
    scenario.start(unbroken);
    if (::testing::Test::HasFatalFailure()) return std::nullopt;
    const std::vector<std::string> failures = sync_until_quiet(unbroken);
    EXPECT_EQ(failures, std::vector<std::string>{}) << scenario.name;
    if (!failures.empty()) return std::nullopt;
    return contents_of(unbroken);
}

TEST(SyncKill, ASyncKilledAtAnyFileOperationEndsAsUnbrokenSyncsWhenRunAgain) {
    if (!strace_works()) GTEST_SKIP() << "strace cannot trace processes here";
    const EnvironmentGuard in_memory(folders_in_memory());
    std::vector<std::string> failed_points;
    int kills = 0;
    for (const Scenario& scenario : scenarios) {
        const std::optional<Contents> unbroken = unbroken_end(scenario);
        ASSERT_TRUE(unbroken) << scenario.name;
        const Contents& expected = *unbroken;
        ASSERT_EQ(expected.leftovers, std::vector<std::string>{}) << scenario.name;
        std::string counts;
        for (const char* call : kill_calls) {
            for (int nth = 1;; ++nth) {
                Sides sides;
                scenario.start(sides);
                const std::string where = std::string(scenario.name) + ", killed at " + call + " " + std::to_string(nth);
                const TracedRun run = traced(sides, std::string(call) + ":signal=SIGKILL:when=" + std::to_string(nth));
                ASSERT_NE(run.outcome, Outcome::failed_to_run) << where;
                if (run.outcome == Outcome::finished) {
                    EXPECT_EQ(run.problems, 0) << scenario.name << ": an unbroken sync reported failures";
                    counts += " " + std::string(call) + " " + std::to_string(nth - 1);
                    break;
                }
                ++kills;
                const std::string faults = faults_after_kill(sides, expected);
                if (faults.empty()) continue;
                ADD_FAILURE() << where << ":" << faults;
                failed_points.push_back(where);
            }
        }
        std::cout << "[ calls    ] " << scenario.name << ":" << counts << '\n';
    }
    for (const std::string& point : failed_points) std::cout << "[ failed   ] " << point << '\n';
    EXPECT_GT(kills, 150);
}

// Every write, rename and flush refused in turn, as by a failing disk: the sync says so, claims
// nothing it did not write, and the syncs after it end the two sides as unbroken syncs do.
TEST(SyncKill, ASyncRefusedAnyWriteSaysSoAndTheSyncsAfterItEndAsUnbrokenOnes) {
    if (!strace_works()) GTEST_SKIP() << "strace cannot trace processes here";
    const EnvironmentGuard in_memory(folders_in_memory());
    int refusals = 0;
    for (const Scenario& scenario : scenarios) {
        const std::optional<Contents> unbroken = unbroken_end(scenario);
        ASSERT_TRUE(unbroken) << scenario.name;
        const Contents& expected = *unbroken;
        for (const char* call : {"write", "rename", "renameat2", "fsync", "syncfs"}) {
            for (int nth = 1;; ++nth) {
                Sides sides;
                scenario.start(sides);
                const std::string where = std::string(scenario.name) + ", " + call + " " + std::to_string(nth) + " refused";
                const TracedRun run = traced(sides, std::string(call) + ":error=EIO:when=" + std::to_string(nth));
                ASSERT_EQ(run.outcome, Outcome::finished) << where;
                if (run.problems == 0) break;  // the call came fewer times
                ++refusals;
                const std::string faults = faults_after_kill(sides, expected);
                EXPECT_EQ(faults, "") << where;
            }
        }
    }
    EXPECT_GT(refusals, 30);
}

// Which of the sync's renames puts its record in place, counted from 1; 0 when none does.
int state_rename(const Sides& sides, const std::string& log) {
    const bool ran = testing::run_logged("rename", log, {"--sync", sides.diary.path().string(),
                                                         sides.vdir.path().string(), std::to_string(today)});
    if (!ran) return 0;
    std::ifstream lines(log);
    int nth = 0;
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("rename(")) continue;
        ++nth;
        if (line.find(std::string(sync_state_file) + "\")") != std::string::npos) return nth;
    }
    return 0;
}

// Deletions on both sides of what the record saved before knew: an entry, and a repeating event.
void delete_on_both_sides(Sides& sides) {
    ASSERT_EQ(remove_entry_file(sides.diary.path(), sides.entry_with("Pharmacy")), StoreError::none);
    std::filesystem::remove(sides.vdir / "swim.ics");
}

// A sync whose record cannot be saved says so, and the record saved before it stays: with it,
// the deletions made since on either side are carried out, none comes back and nothing doubles,
// exactly as after syncs that saved every record.
TEST(SyncKill, ASyncThatCannotSaveItsRecordSaysSoAndLosesNoDeletionMadeSince) {
    if (!strace_works()) GTEST_SKIP() << "strace cannot trace processes here";
    const EnvironmentGuard in_memory(folders_in_memory());
    Sides unbroken;
    second_sync_start(unbroken);
    ASSERT_EQ(sync_until_quiet(unbroken), std::vector<std::string>{});
    delete_on_both_sides(unbroken);
    ASSERT_EQ(sync_until_quiet(unbroken), std::vector<std::string>{});

    Sides counted;
    second_sync_start(counted);
    const TempDir logs;
    const int nth = state_rename(counted, (logs / "renames").string());
    ASSERT_GT(nth, 0) << "the sync saved no record";

    Sides sides;
    second_sync_start(sides);
    const TracedRun run = traced(sides, "rename:error=ENOSPC:when=" + std::to_string(nth));
    ASSERT_EQ(run.outcome, Outcome::finished);
    EXPECT_EQ(run.problems, 1) << "the record that could not be saved, and nothing else";
    delete_on_both_sides(sides);
    EXPECT_EQ(sync_until_quiet(sides), std::vector<std::string>{});
    const Contents found = contents_of(sides);
    const Contents expected = contents_of(unbroken);
    EXPECT_EQ(found.entries, expected.entries) << differences(found.entries, expected.entries);
    EXPECT_EQ(found.events, expected.events) << differences(found.events, expected.events);
    EXPECT_EQ(found.leftovers, std::vector<std::string>{});
}

// A folder whose listing fails part way is not a folder emptied: the sync refuses, and both sides
// keep every event. Each listing call fails in turn, until the sync makes fewer than asked.
TEST(SyncKill, AListingThatFailsRefusesTheSyncAndRemovesNothing) {
    if (!strace_works()) GTEST_SKIP() << "strace cannot trace processes here";
    const EnvironmentGuard in_memory(folders_in_memory());
    Sides sides;
    sides.add("08/12/26", Memo("Dentist"));
    sides.vdir.write("bank.ics", testing::event("bank-1", "Call the bank", "20261211"));
    ASSERT_EQ(sync_until_quiet(sides), std::vector<std::string>{});
    const Contents before = contents_of(sides);
    int failed_calls = 0;
    for (int nth = 1;; ++nth) {
        const TracedRun run = traced(sides, "getdents64:error=EIO:when=" + std::to_string(nth));
        ASSERT_EQ(run.outcome, Outcome::finished) << nth;
        if (run.problems == 0) break;
        ++failed_calls;
        EXPECT_EQ(contents_of(sides), before) << "the listing call " << nth << " failed";
    }
    EXPECT_GE(failed_calls, 4);  // the vdir and the diary, each listed to its end
}

}  // namespace
}  // namespace daybrook

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--sync") == 0) {
        const daybrook::SyncReport report = daybrook::sync_once(argv[2], argv[3], std::atoi(argv[4]));
        return std::min(daybrook::problems_of(report), 99);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
