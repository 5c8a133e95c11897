// The sync with a calendar folder when nothing changed on either side, the run a timer repeats
// every 15 minutes: a diary of 10,000 entries and a folder of their events, synced once
// before. It is compared with a bare loop that lists both folders and stats every file, the least
// any sync must do to tell that nothing changed.
//
// And the first sync of a diary of 10,000 entries into an empty folder on the disk, with every
// flush the sync makes, against a bare loop that writes the same 10,000 event files and puts them
// on disk with one flush of the file system. Each run starts from the empty folder and a diary
// without the state of a sync, made so outside the timing.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_store.h"
#include "disk_folder.h"
#include "sync/state_file.h"
#include "sync/sync_run.h"

namespace daybrook {
namespace {

constexpr DayNumber sync_today = 20793;  // 6 December 2026
constexpr int sync_days = 1000;          // 10,000 entries still to come, ten a day

struct SyncedPair {
    SyncedPair() {
        const SyncReport first = sync();
        if (!first.error.empty() || !first.failures.empty() || first.sent == 0)
            throw std::runtime_error("the first sync failed");
        events = first.sent;
    }
    bench::TempStore diary{[](const StoreDir& dir) {
        for (DayNumber day = sync_today + 1; day <= sync_today + sync_days; ++day) bench::write_day(dir, day, true);
    }};
    bench::TempStore vdir{[](const StoreDir&) {}};
    // Fewer than the entries: yearly entries alike in several years go as one event.
    long events = 0;

    SyncReport sync() const { return sync_vdir({.diary = diary.dir(), .vdir = vdir.dir(), .today = sync_today}); }
};

const SyncedPair& synced_pair() {
    static const SyncedPair pair;
    return pair;
}

bool in_step(const SyncReport& report) {
    return report.error.empty() && report.sent == 0 && report.received == 0 && report.removed_here == 0 &&
           report.removed_there == 0 && report.failures.empty();
}

void BM_SyncUnchanged(benchmark::State& bench) {
    const SyncedPair& pair = synced_pair();
    for (auto _ : bench) {
        const SyncReport report = pair.sync();
        if (!in_step(report)) bench.SkipWithError("the sync found changes");
    }
}
BENCHMARK(BM_SyncUnchanged)->Unit(benchmark::kMillisecond);

long stat_every_file(const std::string& dir) {
    long files = 0;
    DIR* stream = ::opendir(dir.c_str());
    if (stream == nullptr) return 0;
    while (const dirent* item = ::readdir(stream)) {
        struct stat status {};
        if (item->d_name[0] != '.' && ::stat((dir + "/" + item->d_name).c_str(), &status) == 0) ++files;
    }
    ::closedir(stream);
    return files;
}

void BM_SyncUnchangedBaseline(benchmark::State& bench) {
    const SyncedPair& pair = synced_pair();
    for (auto _ : bench) {
        const long files = stat_every_file(pair.diary.dir().string()) + stat_every_file(pair.vdir.dir().string());
        if (files != long{sync_days} * slots_per_day + pair.events) bench.SkipWithError("the folders are not as made");
    }
}
BENCHMARK(BM_SyncUnchangedBaseline)->Unit(benchmark::kMillisecond);

// A diary of 10,000 entries, none yearly, so that each goes out as an event of its own, and an
// empty vdir, both on the disk; and the event files a first sync writes, for the bare loop.
struct FirstSync {
    FirstSync() {
        if (sync().sent != first_sync_entries) throw std::runtime_error("the first sync failed");
        for (const auto& file : std::filesystem::directory_iterator(vdir.dir())) {
            const std::string name = file.path().filename().string();
            std::optional<VdirRead> item = read_vdir_item(vdir.dir(), name);
            if (!item) throw std::runtime_error("cannot read " + name);
            events.emplace_back(name, std::move(item->text));
        }
    }
    static constexpr long first_sync_entries = long{sync_days} * slots_per_day;
    bench::TempStore diary{[](const StoreDir& dir) {
        for (DayNumber day = sync_today + 1; day <= sync_today + sync_days; ++day) bench::write_day(dir, day, false);
    }, bench::disk_pattern};
    bench::TempStore vdir{[](const StoreDir&) {}, bench::disk_pattern};
    std::vector<std::pair<std::string, std::string>> events;  // name and text

    SyncReport sync() const { return sync_vdir({.diary = diary.dir(), .vdir = vdir.dir(), .today = sync_today}); }
    // Back to no sync at all: an empty vdir, a diary without the state.
    void unsync(benchmark::State& bench) const {
        bench::empty_folder(bench, vdir.dir());
        std::error_code ignored;
        std::filesystem::remove(diary.dir() / sync_state_file, ignored);
    }
};

const FirstSync& first_sync() {
    static const FirstSync sides;
    return sides;
}

void BM_FirstSync(benchmark::State& bench) {
    const FirstSync& sides = first_sync();
    for (auto _ : bench) {
        sides.unsync(bench);
        const SyncReport report = sides.sync();
        if (report.sent != FirstSync::first_sync_entries || !report.failures.empty()) bench.SkipWithError("the sync failed");
    }
}

void BM_FirstSyncBaseline(benchmark::State& bench) {
    const FirstSync& sides = first_sync();
    const std::string dir = sides.vdir.dir().string();
    for (auto _ : bench) {
        sides.unsync(bench);
        for (const auto& [name, text] : sides.events) {
            const int fd = ::open((dir + "/" + name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            const bool written = fd >= 0 && ::write(fd, text.data(), text.size()) == ssize_t(text.size());
            if (fd < 0 || ::close(fd) != 0 || !written) bench.SkipWithError("cannot write an event file");
        }
        if (!bench::flush_file_system(dir)) bench.SkipWithError("cannot flush the folder");
    }
}

// Five runs each: every run leaves 10,000 files on the disk until the program ends.
BENCHMARK(BM_FirstSync)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_FirstSyncBaseline)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace
}  // namespace daybrook
