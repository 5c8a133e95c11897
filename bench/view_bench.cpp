// Benchmarks of the diary view (the week page, the search-results page) and of the deletion list
// for a key word, each beside a bare loop of POSIX calls that touches the same files. The view reads the store at
// every painting, so a page can be no faster than its file access; the ratio of a page to its
// bare loop shows what the code adds on top of the kernel's work.
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_store.h"
#include "calendar/day_number.h"
#include "store/deletion_list.h"
#include "store/entry_files.h"
#include "store/scratch_files.h"
#include "window/compose_page.h"

namespace daybrook {
namespace {

constexpr DayNumber bench_today = 20793;  // 6 December 2026
constexpr LocalTime bench_now{2026, 12, 6, 10, 0};
constexpr PageGeometry bench_geometry{630, 435, 36};
constexpr int week_entries = 8 * slots_per_day;  // every slot of the eight days shown
constexpr int search_store_days = 2000;          // 20,000 entry files, ten a day

using bench::bare_listing;
using bench::memo_of;
using bench::memos;
using bench::read_one_record;
using bench::TempStore;

constexpr std::string_view dentist_memo = memos[1];

void write_day(const StoreDir& dir, DayNumber day) { bench::write_day(dir, day, true); }

// Every slot of the eight days that the week page starting today shows.
void fill_week(const StoreDir& dir) {
    for (DayNumber day = bench_today - 1; day <= bench_today + 6; ++day) write_day(dir, day);
}

constexpr DayNumber search_first_day = bench_today - search_store_days / 2;

// Ten entries on each of 2000 days around today, past and future.
void fill_search(const StoreDir& dir) {
    for (DayNumber day = search_first_day; day < search_first_day + search_store_days; ++day)
        write_day(dir, day);
}

int dentist_entries() {
    int count = 0;
    for (DayNumber day = search_first_day; day < search_first_day + search_store_days; ++day) {
        for (int slot = 0; slot < slots_per_day; ++slot) count += memo_of(day, slot) == dentist_memo;
    }
    return count;
}

// How many items of a page show the memo, so that a page that silently lost its entries is
// reported instead of being timed as fast.
int items_showing(const ComposedPage& page, std::string_view memo) {
    return int(std::count_if(page.items.begin(), page.items.end(),
                             [memo](const PageItem& item) { return item.text == memo; }));
}

int memo_items(const ComposedPage& page) {
    int count = 0;
    for (const char* memo : memos) count += items_showing(page, memo);
    return count;
}

const StoreDir& week_store() {
    static const TempStore store(fill_week);
    return store.dir();
}

const StoreDir& search_store() {
    static const TempStore store(fill_search);
    return store.dir();
}

DiaryState bench_state(PageMode mode) {
    DiaryState state;
    state.today = bench_today;
    state.view.page_mode = mode;
    state.view.start_day = bench_today;
    state.view.search_word = "dentist";
    state.view.case_sensitive = false;
    return state;
}

void BM_WeekPage(benchmark::State& bench) {
    const StoreDir& dir = week_store();
    const DiaryState state = bench_state(PageMode::week);
    if (memo_items(compose_page(state, bench_now, dir, bench_geometry)) != week_entries)
        bench.SkipWithError("the week page does not show all 80 entries");
    for (auto _ : bench) {
        ComposedPage page = compose_page(state, bench_now, dir, bench_geometry);
        benchmark::DoNotOptimize(page);
    }
}

// The 80 files of the week page, each name made as the page makes it, by day and slot.
void BM_WeekPageBaseline(benchmark::State& bench) {
    const std::string dir = week_store().string();
    for (auto _ : bench) {
        long total = 0;
        for (DayNumber day = bench_today - 1; day <= bench_today + 6; ++day) {
            for (int slot = 0; slot < slots_per_day; ++slot) {
                char path[4096];
                std::snprintf(path, sizeof path, "%s/DAT%05d.%03d", dir.c_str(), int(day), slot);
                total += read_one_record(path);
            }
        }
        benchmark::DoNotOptimize(total);
        if (total != long{week_entries} * long{EntryRecord::size})
            bench.SkipWithError("a file was not read whole");
    }
}

void BM_SearchPage(benchmark::State& bench) {
    const StoreDir& dir = search_store();
    const DiaryState state = bench_state(PageMode::search_results);
    const ComposedPage first = compose_page(state, bench_now, dir, bench_geometry);
    const int expected = dentist_entries();
    if (memo_items(first) != expected || items_showing(first, dentist_memo) != expected)
        bench.SkipWithError("the search page does not list exactly the dentist's entries");
    for (auto _ : bench) {
        ComposedPage page = compose_page(state, bench_now, dir, bench_geometry);
        benchmark::DoNotOptimize(page);
    }
}

// The listing the search page needs, sorted as the store sorts it, and a read of every file.
void BM_SearchPageBaseline(benchmark::State& bench) {
    const std::string dir = search_store().string();
    for (auto _ : bench) {
        long total = 0;
        for (const std::string& name : bare_listing(dir)) {
            char path[4096];
            std::snprintf(path, sizeof path, "%s/%s", dir.c_str(), name.c_str());
            total += read_one_record(path);
        }
        benchmark::DoNotOptimize(total);
        if (total != long{search_store_days} * slots_per_day * long{EntryRecord::size})
            bench.SkipWithError("a file was not read whole");
    }
}

// The list "Deletion Choice" shows for a key word: the whole store read, the word's entries
// listed and their records copied to the scratch list files (the first thousand lines have one).
void deletion_list(benchmark::State& bench, const char* word, std::size_t expected) {
    const StoreDir& dir = search_store();
    if (entries_with_word(dir, word, false).size() != expected)
        bench.SkipWithError("the deletion list does not hold exactly the word's entries");
    for (auto _ : bench) {
        const std::vector<ListedEntry> entries = entries_with_word(dir, word, false);
        std::vector<std::string> lines = deletion_lines(entries, ListKind::key_word);
        if (!write_scratch_list(dir, entries)) bench.SkipWithError("a scratch list file was not written");
        benchmark::DoNotOptimize(lines);
    }
    remove_scratch_list(dir, scratch_positions);
}

// A word a seventh of the entries hold.
void BM_DeletionList(benchmark::State& bench) { deletion_list(bench, "dentist", std::size_t(dentist_entries())); }

// A word a handful of entries hold, as a user's deletion search does.
void BM_DeletionListFew(benchmark::State& bench) {
    deletion_list(bench, "passport", std::size_t(search_store_days * slots_per_day / 1000));
}

BENCHMARK(BM_WeekPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WeekPageBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SearchPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchPageBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeletionList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeletionListFew)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace daybrook

BENCHMARK_MAIN();
