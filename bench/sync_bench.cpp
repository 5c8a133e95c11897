// The sync with a calendar folder when nothing changed on either side, the run a timer repeats
// every 15 minutes: a diary of 10,000 entries and a folder of their events, synced once
// before. It is compared with a bare loop that lists both folders and stats every file, the least
// any sync must do to tell that nothing changed.
#include <dirent.h>
#include <sys/stat.h>

#include <stdexcept>
#include <string>

#include <benchmark/benchmark.h>

#include "bench_store.h"
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

}  // namespace
}  // namespace daybrook
