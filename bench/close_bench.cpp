// Benchmarks of the purge that runs when the diary closes, each beside a bare loop of POSIX calls
// over the same folder:
// - with 20,000 passed entries, kept for ever: the close lists the folder and reads every passed
//   entry (to carry yearly ones over), against readdir and an open, read and close of each file;
// - with 100,000 entries that are all still to come, at the default keep code: the close finds
//   nothing passed and only lists the folder, against a bare readdir loop.
// - the same at the day after a complete close, which looks only at the days passed since;
// - the terminal's list of the coming week in the store of 100,000 entries, against a bare open,
//   read and close of its seventy files.
// Neither close changes the store (nothing is deleted, and the entries are not yearly, so none is
// carried over), and the note of the last close is taken away before each of the first two, so
// every iteration does the same work: that of a close that must list the whole folder.
#include <dirent.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_store.h"
#include "calendar/day_number.h"
#include "diary/entry_listing.h"
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

// Takes away the note a close leaves for the next one, outside the timing: the next close lists
// the whole folder.
void forget_last_close(benchmark::State& bench, const StoreDir& dir) {
    bench.PauseTiming();
    std::error_code ignored;
    std::filesystem::remove(dir / ".daybrook.lock", ignored);
    bench.ResumeTiming();
}

// Whether the purge did its work and changed nothing, so that the next iteration meets the same
// store.
bool left_store_alone(const PurgeReport& report) {
    return report.store_locked && report.renewed.empty() && report.created.empty() &&
           report.deleted.empty() && report.unreadable.empty() && report.kept_unrenewed.empty() &&
           report.delete_failed.empty() && report.temporaries_removed.empty();
}

// A close that lists the whole folder, again and again over the same store.
void listing_close(benchmark::State& bench, const StoreDir& dir, int entries, KeepCode keep_code) {
    if (int(bench::bare_listing(dir.string()).size()) != entries)
        bench.SkipWithError("the store does not hold its entries");
    for (auto _ : bench) {
        forget_last_close(bench, dir);
        const PurgeReport report = purge_old(dir, close_today, keep_code);
        if (!left_store_alone(report)) bench.SkipWithError("the purge changed the store");
        benchmark::DoNotOptimize(report);
    }
}

void BM_PurgePassed(benchmark::State& bench) {
    listing_close(bench, passed_store(), passed_entries, KeepCode::for_ever);
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
    listing_close(bench, future_store(), future_entries, KeepCode::none);
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

// The close of the day after a complete one: the note of that close is put back before each.
void BM_CloseNextDay(benchmark::State& bench) {
    const StoreDir& dir = future_store();
    for (auto _ : bench) {
        bench.PauseTiming();
        std::error_code ignored;
        std::filesystem::remove(dir / ".daybrook.lock", ignored);
        if (!purge_old(dir, close_today - 1, KeepCode::none).store_locked) bench.SkipWithError("the store was locked");
        bench.ResumeTiming();
        const PurgeReport report = purge_old(dir, close_today, KeepCode::none);
        if (!left_store_alone(report)) bench.SkipWithError("the purge changed the store");
        benchmark::DoNotOptimize(report);
    }
}

constexpr int listed_days = 7;

// `daybrook --list`: the coming week out of 100,000 entries.
void BM_ListWeek(benchmark::State& bench) {
    const StoreDir& dir = future_store();
    if (entries_of_days(dir, close_today + 1, listed_days).size() != std::size_t(listed_days * slots_per_day))
        bench.SkipWithError("the week does not hold seventy entries");
    for (auto _ : bench) {
        std::vector<DiaryEntry> entries = entries_of_days(dir, close_today + 1, listed_days);
        benchmark::DoNotOptimize(entries);
    }
}

// The seventy files of that week, each opened, read and closed.
void BM_ListWeekBaseline(benchmark::State& bench) {
    const std::string dir = future_store().string();
    for (auto _ : bench) {
        long total = 0;
        for (DayNumber day = close_today + 1; day <= close_today + listed_days; ++day) {
            for (int slot = 0; slot < slots_per_day; ++slot) {
                char path[4096];
                std::snprintf(path, sizeof path, "%s/DAT%05d.%03d", dir.c_str(), int(day), slot);
                total += bench::read_one_record(path);
            }
        }
        benchmark::DoNotOptimize(total);
        if (total != long{listed_days} * slots_per_day * long{EntryRecord::size})
            bench.SkipWithError("a file was not read whole");
    }
}

BENCHMARK(BM_PurgePassed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PurgePassedBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseListingBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseNextDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListWeek)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListWeekBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace daybrook
