// The batch writers of the import and the sync, under strace: an import killed at any write,
// rename or flush is undone exactly by the undo that follows; and however many files a batch
// writes, it flushes them a fixed number of times, never giving a file its name before its
// bytes are on disk.
//
// Started as "--import DIR FILE" or "--sync DIARY VDIR", the program only does that one piece of
// work and exits with the number of problems it reported: that is the process strace works on.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ics/import_undo.h"
#include "store/memo.h"
#include "support/environment_guard.h"
#include "support/temp_dir.h"
#include "support/traced_run.h"
#include "sync/sync_sides.h"

namespace daybrook {
namespace {

using testing::EnvironmentGuard;
using testing::Outcome;
using testing::strace_works;
using testing::TempDir;
using testing::TracedRun;
using testing::today;

int import_file(const std::string& dir, const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const ImportReport report = import_ics(dir, text, today);
    return int(!report.error.empty()) + int(!report.write_error.empty());
}

int sync_folders(const std::string& diary, const std::string& vdir) {
    const SyncReport report = sync_vdir({.diary = diary, .vdir = vdir, .today = today});
    return int(!report.error.empty()) + int(report.failures.size());
}

std::string ics_date(DayNumber day) {
    const CalendarDate date = day_to_calendar(day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", date.year, date.month, date.day);
    return text;
}

// `count` all-day events named after `memo`, three a day from tomorrow on.
std::string events(const std::string& memo, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "BEGIN:VEVENT\nUID:" + memo + std::to_string(i) + "\nDTSTAMP:20261201T090000Z\nDTSTART;VALUE=DATE:" +
                ics_date(today + 1 + i / 3) + "\nSUMMARY:" + memo + " " + std::to_string(i) + "\nEND:VEVENT\n";
    return calendar(text);
}

// The entry files of a folder with their bytes.
std::map<std::string, std::string> entries_of(const TempDir& dir) {
    std::map<std::string, std::string> files;
    for (const std::string& name : dir.names())
        if (is_entry_file_name(name)) files[name] = dir.read(name);
    return files;
}

// A folder in memory where there is one: the dozens of runs would wait for a disk's flushes.
EnvironmentGuard::Values folders_in_memory() {
    if (std::filesystem::is_directory("/dev/shm") && ::access("/dev/shm", W_OK | X_OK) == 0)
        return {{"TMPDIR", "/dev/shm"}};
    return {};
}

// A diary with an entry of the user's and an earlier import of four events, two on a day the
// import under test also fills.
void earlier_import(const TempDir& dir) {
    ASSERT_EQ(add_entry(dir.path(), today + 1, Memo("Mine")).error, StoreError::none);
    const ImportReport earlier = import_ics(dir.path(), events("Earlier", 4), today);
    ASSERT_EQ(earlier.added.size(), 4u);
}

// What an undo after the kill must do: take away exactly the entries the killed import placed,
// whole ones all, and leave the diary as the earlier import left it. Only an import killed before
// its record replaced the earlier one may have placed nothing; the undo then is the earlier's.
std::string undo_faults(const TempDir& dir, const std::map<std::string, std::string>& before,
                        const std::string& earlier_record) {
    const std::map<std::string, std::string> after = entries_of(dir);
    std::vector<std::string> added;
    std::string faults;
    for (const auto& [name, bytes] : after) {
        if (!before.contains(name)) added.push_back(name);
        else if (before.at(name) != bytes) faults += " " + name + " changed;";
        if (bytes.size() != EntryRecord::size) faults += " " + name + " not whole;";
    }
    if (dir.read(std::string(last_import_record)) == earlier_record)
        return faults + (added.empty() ? "" : " entries placed while the earlier record stood;");
    UndoReport undo = undo_import(dir.path(), {});
    std::sort(undo.removed.begin(), undo.removed.end());
    if (undo.removed != added) faults += " the undo removed other entries than the import placed;";
    if (!undo.succeeded() || !undo.gone.empty() || !undo.changed.empty()) faults += " the undo reported problems;";
    if (entries_of(dir) != before) faults += " the diary is not as before the import;";
    return faults;
}

TEST(BatchWrites, AnImportKilledAtAnyWriteIsUndoneExactlyAndNeverTakesAnEarlierImport) {
    if (!strace_works()) GTEST_SKIP() << "strace cannot trace processes here";
    const EnvironmentGuard in_memory(folders_in_memory());
    TempDir files;
    files.write("new.ics", events("New", 9));
    int kills = 0;
    for (const char* call : {"write", "renameat2", "rename", "syncfs", "fsync"}) {
        for (int nth = 1;; ++nth) {
            TempDir dir;
            earlier_import(dir);
            ASSERT_FALSE(HasFatalFailure());
            const auto before = entries_of(dir);
            const std::string earlier_record = dir.read(std::string(last_import_record));
            const TracedRun run = testing::run_traced(std::string(call) + ":signal=SIGKILL:when=" + std::to_string(nth),
                                                      {"--import", dir.path().string(), (files / "new.ics").string()});
            ASSERT_NE(run.outcome, Outcome::failed_to_run) << call << " " << nth;
            if (run.outcome == Outcome::finished) {
                EXPECT_EQ(run.problems, 0);
                EXPECT_EQ(entries_of(dir).size(), before.size() + 9) << "the import unbroken";
                break;
            }
            ++kills;
            EXPECT_EQ(undo_faults(dir, before, earlier_record), "") << "killed at " << call << " " << nth;
        }
    }
    EXPECT_GT(kills, 20);
}

// The flushes of a traced run, and the files that took their names before their bytes were on
// disk: a temporary file's last write must come before a flush of its own or of the whole file
// system, and that flush before its rename.
struct Flushes {
    int count = 0;
    int renames = 0;
    std::vector<std::string> unflushed;
};

// The path in a traced call's first string argument, and in its second.
std::string quoted(const std::string& line, int which) {
    std::size_t start = line.find('"');
    for (int i = 1; i < which && start != std::string::npos; ++i) start = line.find('"', line.find('"', start + 1) + 1);
    if (start == std::string::npos) return {};
    return line.substr(start + 1, line.find('"', start + 1) - start - 1);
}

int fd_of(const std::string& line) { return std::atoi(line.c_str() + line.find('(') + 1); }
int result_of(const std::string& line) { return std::atoi(line.c_str() + line.rfind(" = ") + 3); }

Flushes flushes_in(const std::string& log) {
    Flushes found;
    std::map<int, std::string> open;              // the temporary file each descriptor writes
    std::map<std::string, std::size_t> written;   // the line of each temporary file's last write
    std::map<std::string, std::size_t> flushed;   // the line of its last flush of its own
    std::size_t everything_flushed = 0;           // the line of the last syncfs
    std::istringstream lines(log);
    std::size_t at = 1;
    for (std::string line; std::getline(lines, line); ++at) {
        const bool flush = line.starts_with("fsync(") || line.starts_with("fdatasync(") || line.starts_with("syncfs(");
        found.count += flush;
        if (line.starts_with("openat(") && line.find(".new-") != std::string::npos) open[result_of(line)] = quoted(line, 1);
        else if (line.starts_with("close(")) open.erase(fd_of(line));
        else if (line.starts_with("write(") && open.contains(fd_of(line))) written[open[fd_of(line)]] = at;
        else if (line.starts_with("syncfs(")) everything_flushed = at;
        else if (flush && open.contains(fd_of(line))) flushed[open[fd_of(line)]] = at;
        if (!line.starts_with("rename") || line.find(".new-") == std::string::npos) continue;
        const std::string temp = quoted(line, 1);
        ++found.renames;
        if (std::max(flushed[temp], everything_flushed) < written[temp]) found.unflushed.push_back(temp);
    }
    return found;
}

TEST(BatchWrites, ABatchIsFlushedAFixedNumberOfTimesWhateverItsSizeAndBeforeAnyFileTakesItsName) {
    if (!strace_works()) GTEST_SKIP() << "strace cannot trace processes here";
    struct Case {
        const char* what;
        std::vector<std::string> (*run)(const TempDir& one, const TempDir& other, int count);
    };
    const Case cases[] = {
        {"an import", [](const TempDir& diary, const TempDir& calendar_files, int count) {
             calendar_files.write("new.ics", events("New", count));
             return std::vector<std::string>{"--import", diary.path().string(), (calendar_files / "new.ics").string()};
         }},
        {"a first sync, both ways", [](const TempDir& diary, const TempDir& vdir, int count) {
             for (int i = 0; i < count; ++i) {
                 EXPECT_EQ(add_entry(diary.path(), today + 1 + i / 3, Memo("Sent " + std::to_string(i))).error, StoreError::none);
                 vdir.write("got" + std::to_string(i) + ".ics", testing::event("got" + std::to_string(i), "Got",
                                                                               ics_date(today + 1 + i / 3)));
             }
             return std::vector<std::string>{"--sync", diary.path().string(), vdir.path().string()};
         }},
    };
    for (const Case& c : cases) {
        std::vector<int> counts;
        for (const int files : {3, 60}) {
            TempDir one;
            TempDir other;
            const TempDir logs;
            const std::vector<std::string> arguments = c.run(one, other, files);
            ASSERT_TRUE(testing::run_logged("openat,write,close,fsync,fdatasync,syncfs,rename,renameat2",
                                            (logs / "calls").string(), arguments)) << c.what << ", " << files;
            const Flushes found = flushes_in(logs.read("calls"));
            EXPECT_GE(found.renames, files) << c.what << ", " << files << " files";
            EXPECT_EQ(found.unflushed, std::vector<std::string>{}) << c.what << ", " << files << " files";
            counts.push_back(found.count);
        }
        EXPECT_EQ(counts.front(), counts.back()) << c.what << ": the flushes grow with the files";
    }
}

}  // namespace
}  // namespace daybrook

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--import") == 0) return std::min(daybrook::import_file(argv[2], argv[3]), 99);
    if (argc == 4 && std::strcmp(argv[1], "--sync") == 0) return std::min(daybrook::sync_folders(argv[2], argv[3]), 99);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
