// The store under faults, injected by strace into its system calls: killed at each file
// operation of the close, or refused by the file system (disk full, read-only, I/O error) at each
// write of a new entry, a deletion and the close. Whatever happens, no entry is lost or damaged,
// nothing half-written stays, every failure is reported, and a later close ends the store exactly
// as an unbroken one.
//
// Started as "--purge DIR", "--new-entries DIR" or "--delete DIR", the program only does that
// one piece of work on DIR and exits with the number of problems it reported: that is the process
// strace works on.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "store/deletion_list.h"
#include "store/memo.h"
#include "store/new_entries.h"
#include "store/retention.h"
#include "store/scratch_files.h"
#include "support/temp_dir.h"
#include "support/traced_run.h"
#include "support/typed_day.h"

namespace daybrook {
namespace {

using testing::Outcome;
using testing::strace_works;
using testing::TempDir;
using testing::TracedRun;
using testing::run_traced;

constexpr DayNumber today = 20793;  // 6 December 2026

// The pieces of work, each with the store it starts from.
int purge(const StoreDir& dir) {
    const PurgeReport report = purge_old(dir, today, KeepCode::none);
    return int(!report.store_locked + report.unreadable.size() + report.kept_unrenewed.size() +
               report.unmarked.size() + report.delete_failed.size() + report.left_behind.size());
}

int new_entries(const StoreDir& dir) {
    const NewEntryRequest request{.days = {date_to_day("07/12/26"), date_to_day("08/12/26"), date_to_day("09/12/26")}, .text = "memo", .red = true};
    const WrittenEntries result = write_new_entries(dir, request);
    return int(result.failed_days.size() + result.full_days.size());
}

int delete_all(const StoreDir& dir) {
    const std::vector<ListedEntry> listed = entries_with_word(dir, "memo", false);
    std::vector<std::size_t> every(listed.size());
    for (std::size_t line = 0; line < every.size(); ++line) every[line] = line;
    return int(delete_listed(dir, listed, every).left.size());
}

void seed(const StoreDir& dir) {
    EXPECT_EQ(add_entry(dir, 20792, Memo("Anniversary").yearly(1).red()).error, StoreError::none);  // yesterday: kept, marked
    EXPECT_EQ(add_entry(dir, 20700, Memo("Birthday").yearly(1)).error, StoreError::none);           // expired: copied, then deleted
    EXPECT_EQ(add_entry(dir, 20600, Memo("Dentist")).error, StoreError::none);                      // expired
    EXPECT_EQ(add_entry(dir, 20794, Memo("memo one")).error, StoreError::none);                     // to come
    EXPECT_EQ(add_entry(dir, 20795, Memo("memo two")).error, StoreError::none);
    EXPECT_EQ(write_scratch(dir, 0, encode(Memo("listed"))), StoreError::none);
}

struct Work {
    const char* option;
    int (*run)(const StoreDir&);
};
constexpr Work works[] = {{"--purge", purge}, {"--new-entries", new_entries}, {"--delete", delete_all}};

TracedRun traced(const char* option, const StoreDir& dir, const std::string& injection) {
    return run_traced(injection, {option, dir.string()});
}

// The folder's files and their bytes, but for the lock file's note about the last close.
std::map<std::string, std::string> contents(const TempDir& dir) {
    std::map<std::string, std::string> files;
    for (const std::string& name : dir.names()) files[name] = name == ".daybrook.lock" ? "" : dir.read(name);
    return files;
}

// The bytes of a passed yearly entry once its copy for next year is made: marked renewed, and
// left for the next close to delete when its deletion was refused.
std::string renewed_bytes(const std::string& bytes) {
    EntryRecord record = decode(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
    if (record.yearly != EntryRecord::yearly_pending) return {};
    record.yearly = EntryRecord::yearly_renewed;
    const RecordBytes renewed = encode(record);
    return {renewed.begin(), renewed.end()};
}

// How many times the work makes the system call `call` when nothing fails, so that every one of
// them is refused in turn, the deletions of a close too and not only the first harmless one.
int calls_made(const Work& work, const char* call) {
    TempDir dir;
    seed(dir.path());
    const TempDir logs;
    const std::string log = (logs / "calls").string();
    EXPECT_TRUE(testing::run_logged(call, log, {work.option, dir.path().string()})) << work.option;
    std::istringstream lines(logs.read("calls"));
    int made = 0;
    for (std::string line; std::getline(lines, line);) made += line.starts_with(std::string(call) + "(");
    return made;
}

// Killed at any file operation, a close leaves nothing that the next one does not mend, also when
// the store's last close was complete, so that the next would look only at the days since.
TEST(StoreFaults, ACloseKilledAtAnyFileOperationEndsAsAnUnbrokenOneWhenRunAgain) {
    if (!strace_works()) GTEST_SKIP() << "strace cannot trace processes here";
    int kills = 0;
    for (const bool closed_yesterday : {false, true}) {
        const auto arrange = [&](const StoreDir& dir) {
            seed(dir);
            if (closed_yesterday) {
                EXPECT_TRUE(purge_old(dir, today - 1, KeepCode::none).store_locked);
            }
        };
        TempDir unbroken;
        arrange(unbroken.path());
        purge(unbroken.path());
        const auto expected = contents(unbroken);
        for (const char* call : {"openat", "write", "fsync", "renameat2", "rename", "unlink", "flock"}) {
            for (int nth = 1;; ++nth) {
                TempDir dir;
                arrange(dir.path());
                const TracedRun run = traced("--purge", dir.path(), std::string(call) + ":signal=SIGKILL:when=" + std::to_string(nth));
                ASSERT_NE(run.outcome, Outcome::failed_to_run) << call << " " << nth;
                if (run.outcome == Outcome::finished) break;
                ++kills;
                purge(dir.path());
                ASSERT_EQ(contents(dir), expected) << "killed at " << call << " " << nth << (closed_yesterday ? ", closed yesterday" : "");
            }
        }
    }
    EXPECT_GT(kills, 30);
}

// Every write, flush, rename, link and deletion refused in turn: the work either completes or
// reports what it left undone, existing entries stay exactly as they were, an entry is whole or
// absent, nothing half-written stays, and a later close ends as an unbroken one.
TEST(StoreFaults, AFileSystemThatRefusesAnyWriteNeverCostsAnEntryAndIsReported) {
    if (!strace_works()) GTEST_SKIP() << "strace cannot trace processes here";
    const std::pair<const char*, const char*> refusals[] = {
        {"write", "ENOSPC"}, {"fsync", "EIO"},     {"renameat2", "EROFS"}, {"rename", "ENOSPC"},
        {"link", "EROFS"},   {"unlink", "EROFS"},  {"fsync", "ENOSPC"},
    };
    int faults = 0;
    for (const Work& work : works) {
        TempDir clean;
        seed(clean.path());
        const auto before = contents(clean);
        ASSERT_EQ(work.run(clean.path()), 0) << work.option;
        const auto done = contents(clean);
        for (const auto& [call, error] : refusals) {
            const int made = calls_made(work, call);
            for (int nth = 1; nth <= made; ++nth) {
                TempDir dir;
                seed(dir.path());
                const std::string where = std::string(work.option) + " " + call + " " + error + " " + std::to_string(nth);
                const TracedRun run = traced(work.option, dir.path(), std::string(call) + ":error=" + error + ":when=" + std::to_string(nth));
                ASSERT_EQ(run.outcome, Outcome::finished) << where;
                const auto after = contents(dir);
                if (after == done && run.problems == 0) continue;  // a call the work could do without
                ++faults;
                EXPECT_GT(run.problems, 0) << "a failure went unreported: " << where;
                for (const auto& [name, bytes] : after) {
                    const bool own_file = name == ".daybrook.lock" || name == ".daybrook-purged";
                    EXPECT_FALSE(name.starts_with('.') && !own_file) << name << " left, " << where;
                    const bool as_before = before.contains(name) && before.at(name) == bytes;
                    const bool as_done = done.contains(name) && done.at(name) == bytes;
                    const bool renewed = before.contains(name) && renewed_bytes(before.at(name)) == bytes;
                    EXPECT_TRUE(as_before || as_done || renewed) << name << " damaged, " << where;
                }
                for (const auto& [name, bytes] : before) {
                    if (name.starts_with("DAT") && !after.contains(name)) {
                        EXPECT_FALSE(done.contains(name)) << name << " lost, " << where;
                    }
                }
                if (work.run == purge) {
                    purge(dir.path());
                    EXPECT_EQ(contents(dir), done) << "the next close, after " << where;
                }
            }
        }
    }
    EXPECT_GT(faults, 30);
}

// A renewal's copy must be on disk under its name before the passed entry is marked: were the
// mark to outlive a crash that the copy's name did not, the entry would never come round again.
// So between placing each copy and marking its entry, the folder itself is opened and flushed.
TEST(StoreFaults, ARenewalFlushesTheCopysFolderBeforeMarkingThePassedEntry) {
    if (!strace_works()) GTEST_SKIP() << "strace cannot trace processes here";
    TempDir dir;
    seed(dir.path());
    const TempDir logs;
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    self[length > 0 ? length : 0] = '\0';
    // The leak checker of a sanitizer build cannot work under a tracer.
    const std::string command = "ASAN_OPTIONS=detect_leaks=0 strace -qq -o " + (logs / "calls").native() +
                                " -e trace=openat,fsync,rename,renameat2,link " + self + " --purge " + dir.path().native();
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::vector<std::string> calls;
    std::istringstream text(logs.read("calls"));
    for (std::string line; std::getline(text, line);) calls.push_back(line);
    const auto first = [&](const std::string& name, std::string_view call, std::size_t from = 0) {
        for (std::size_t i = from; i < calls.size(); ++i)
            if (calls[i].starts_with(call) && calls[i].find("/" + name + "\"") != std::string::npos) return i;
        return calls.size();
    };
    const std::pair<const char*, const char*> renewals[] = {{"DAT20700.000", "DAT21065.000"}, {"DAT20792.000", "DAT21157.000"}};
    for (const auto& [passed, copy] : renewals) {
        const std::size_t placed = std::min(first(copy, "renameat2"), first(copy, "link"));
        const std::size_t marked = first(passed, "rename(", placed);
        ASSERT_LT(marked, calls.size()) << copy;
        bool flushed = false;
        for (std::size_t i = placed; i < marked && !flushed; ++i) {
            const std::size_t result = calls[i].rfind(" = ");
            if (!calls[i].starts_with("openat") || calls[i].find("O_DIRECTORY") == std::string::npos) continue;
            const std::string fsync = "fsync(" + calls[i].substr(result + 3) + ")";
            for (std::size_t j = i + 1; j < marked; ++j) flushed |= calls[j].starts_with(fsync);
        }
        EXPECT_TRUE(flushed) << copy << " was not flushed before " << passed << " was marked";
    }
}

}  // namespace
}  // namespace daybrook

int main(int argc, char** argv) {
    if (argc == 3) {
        for (const daybrook::Work& work : daybrook::works)
            if (std::strcmp(argv[1], work.option) == 0) return std::min(work.run(argv[2]), 99);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
