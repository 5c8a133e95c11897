// Benchmarks of the purge that runs when the diary closes, each beside a bare loop of POSIX calls
// over the same folder:
// - with 20,000 passed entries, kept for ever: the close lists the folder and reads every passed
//   entry (to carry yearly ones over), against readdir and an open, read and close of each file;
// - with 100,000 entries that are all still to come, at the default keep code: the close finds
//   nothing passed and only lists the folder, against a bare readdir loop.
// Neither run changes the store (nothing is deleted, and the entries are not yearly, so none is
// carried over), so every iteration does the same work.
#include <dirent.h>

#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "bench_store.h"
#include "calendar/day_number.h"
#include "store/entry_files.h"
#include "store/keep_code.h"
#include "store/retention.h"

namespace daybrook {
namespace {

constexpr DayNumber close_today = 20793;  // 6 December 2026
constexpr int passed_days = 2000;         // 20,000 passed entries, ten a day
constexpr int future_days = 10000;        // 100,000 entries still to come, ten a day
constexpr int passed_entries = passed_days * slots_per_day;
constexpr int future_entries = future_days * slots_per_day;

// Ten entries on each of the 2000 days before today; none yearly.
void fill_passed(const StoreDir& dir) {
    for (DayNumber day = close_today - passed_days; day < close_today; ++day)
        bench::write_day(dir, day, false);
}

// Ten entries on each of 10,000 days from tomorrow on.
void fill_future(const StoreDir& dir) {
    for (DayNumber day = close_today + 1; day <= close_today + future_days; ++day)
        bench::write_day(dir, day, true);
}

const StoreDir& passed_store() {
    static const bench::TempStore store(fill_passed);
    return store.dir();
}

const StoreDir& future_store() {
    static const bench::TempStore store(fill_future);
    return store.dir();
}

// Whether the purge did its work and changed nothing, so that the next iteration meets the same
// store.
bool left_store_alone(const PurgeReport& report) {
    return report.store_locked && report.renewed.empty() && report.created.empty() &&
           report.deleted.empty() && report.unreadable.empty() && report.kept_unrenewed.empty() &&
           report.delete_failed.empty() && report.temporaries_removed.empty();
}

void BM_PurgePassed(benchmark::State& bench) {
    const StoreDir& dir = passed_store();
    if (int(bench::bare_listing(dir.string()).size()) != passed_entries)
        bench.SkipWithError("the store does not hold 20,000 entries");
    for (auto _ : bench) {
        const PurgeReport report = purge_old(dir, close_today, KeepCode::for_ever);
        if (!left_store_alone(report)) bench.SkipWithError("the purge changed the store");
        benchmark::DoNotOptimize(report);
    }
}

// The listing the purge needs, sorted into the store's order, and a read of every file.
void BM_PurgePassedBaseline(benchmark::State& bench) {
    const std::string dir = passed_store().string();
    for (auto _ : bench) {
        long total = 0;
        for (const std::string& name : bench::bare_listing(dir)) {
            char path[4096];
            std::snprintf(path, sizeof path, "%s/%s", dir.c_str(), name.c_str());
            total += bench::read_one_record(path);
        }
        benchmark::DoNotOptimize(total);
        if (total != long{passed_entries} * long{EntryRecord::size})
            bench.SkipWithError("a file was not read whole");
    }
}

void BM_CloseListing(benchmark::State& bench) {
    const StoreDir& dir = future_store();
    if (int(bench::bare_listing(dir.string()).size()) != future_entries)
        bench.SkipWithError("the store does not hold 100,000 entries");
    for (auto _ : bench) {
        const PurgeReport report = purge_old(dir, close_today, KeepCode::none);
        if (!left_store_alone(report)) bench.SkipWithError("the purge changed the store");
        benchmark::DoNotOptimize(report);
    }
}

// Every name of the folder read once, and nothing else.
void BM_CloseListingBaseline(benchmark::State& bench) {
    const std::string dir = future_store().string();
    for (auto _ : bench) {
        DIR* stream = ::opendir(dir.c_str());
        if (stream == nullptr) {
            bench.SkipWithError("cannot open the store");
            break;
        }
        long names = 0;
        while (const dirent* item = ::readdir(stream)) names += item->d_type == DT_REG;
        ::closedir(stream);
        benchmark::DoNotOptimize(names);
        if (names < future_entries) bench.SkipWithError("the folder lost entries");
    }
}

BENCHMARK(BM_PurgePassed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PurgePassedBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseListingBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace daybrook
