// The import of a calendar file of 10,000 events, ten on each of 1,000 days, into an empty diary
// in a folder on the disk the benchmarks are built on, with every flush the import makes, against
// a bare loop that writes the same 10,000 entry files with POSIX calls and puts them on disk with
// one flush of the file system: the least any writer must do so that a power cut loses none of
// them once it is done. Each run starts in a fresh, empty folder, made outside the timing.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "bench_store.h"
#include "disk_folder.h"
#include "ics/ics_import.h"
#include "store/entry_files.h"

namespace daybrook {
namespace {

constexpr DayNumber import_today = 20793;  // 6 December 2026
constexpr int import_days = 1000;
constexpr int imported_entries = import_days * slots_per_day;

std::string ics_date(DayNumber day) {
    const CalendarDate date = day_to_calendar(day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", date.year, date.month, date.day);
    return text;
}

// Ten all-day events on each day from today on, each with a summary of its own.
const std::string& calendar_text() {
    static const std::string text = [] {
        std::string ics = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Example//Planner//EN\r\n";
        for (DayNumber day = import_today; day < import_today + import_days; ++day) {
            for (int slot = 0; slot < slots_per_day; ++slot) {
                ics += "BEGIN:VEVENT\r\nUID:" + std::to_string(day) + "-" + std::to_string(slot) + "@example\r\n";
                ics += "DTSTAMP:20261201T090000Z\r\nDTSTART;VALUE=DATE:" + ics_date(day) + "\r\n";
                ics += "SUMMARY:" + std::string(bench::memo_of(day, slot)) + " " + std::to_string(slot) + "\r\nEND:VEVENT\r\n";
            }
        }
        return ics + "END:VCALENDAR\r\n";
    }();
    return text;
}

const StoreDir& empty_store() {
    static const bench::TempStore store([](const StoreDir&) {}, bench::disk_pattern);
    return store.dir();
}

void BM_Import(benchmark::State& bench) {
    const std::string& text = calendar_text();
    for (auto _ : bench) {
        bench::empty_folder(bench, empty_store());
        const ImportReport report = import_ics(empty_store(), text, import_today);
        if (report.added.size() != std::size_t{imported_entries}) bench.SkipWithError("the import did not add every event");
        benchmark::DoNotOptimize(report);
    }
}

// The same files, with the same record in each, written one by one and flushed together.
void BM_ImportBaseline(benchmark::State& bench) {
    const RecordBytes bytes = encode(EntryRecord{.text = "Team meeting", .date = "06/12/26", .file = "DAT20793.000"});
    const std::string dir = empty_store().string();
    for (auto _ : bench) {
        bench::empty_folder(bench, empty_store());
        for (DayNumber day = import_today; day < import_today + import_days; ++day) {
            for (int slot = 0; slot < slots_per_day; ++slot) {
                const std::string path = dir + "/" + entry_file_name(day, slot);
                const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
                const bool written = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
                if (fd < 0 || ::close(fd) != 0 || !written) bench.SkipWithError("cannot write an entry file");
            }
        }
        if (!bench::flush_file_system(dir)) bench.SkipWithError("cannot flush the folder");
    }
}

// Five runs each: every run leaves 10,000 files on the disk until the program ends.
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_ImportBaseline)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace
}  // namespace daybrook
