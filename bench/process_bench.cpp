// The login glance, timed as whole processes: `daybrook -a 5` started in a store that has an
// entry for today (so it closes as soon as its first week has been painted), against the bare Qt
// window of bare_window.cpp started the same way, and against that window drawing the week's
// text (`--text`), which tells how much of the difference is the text itself. Both run on Qt's offscreen platform, each run
// with fresh, empty XDG_CONFIG_HOME and XDG_RUNTIME_DIR folders. A run is timed from just before
// fork to the return of wait4, whose rusage also gives its peak resident memory. The rounds run
// every case once, in turn, so that a machine busy with something else slows all cases alike;
// the first rounds only warm the caches.
//
// Prints a table of the cases, then one line per figure, each starting with "ratio ", which
// bench/run gathers into its report. Exits with 1 when a run failed or did not close by itself
// at once, and with 2 on a wrong command line; a missed goal is only said on its line.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "bench_store.h"
#include "calendar/clock.h"
#include "calendar/day_number.h"
#include "store/entry_files.h"

extern char** environ;

namespace daybrook {
namespace {

constexpr int future_entry_days = 10000;   // 100,000 entry files, ten a day
constexpr double run_limit_ms = 4000;      // -a 5 would close after 5 s: today's entry was missed
constexpr unsigned hang_limit_seconds = 60;

struct Options {
    std::string diary = DAYBROOK_PROGRAM;
    std::string bare = BARE_WINDOW_PROGRAM;
    int runs = 30;
    int warmups = 3;
};

void print_usage() {
    std::fprintf(stderr, "usage: process_bench [--runs N] [--warmups N] [--diary PATH] [--bare PATH]\n");
}

std::optional<Options> parse_options(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (i + 1 >= argc) return std::nullopt;
        const char* value = argv[++i];
        if (name == "--runs") options.runs = std::atoi(value);
        else if (name == "--warmups") options.warmups = std::atoi(value);
        else if (name == "--diary") options.diary = value;
        else if (name == "--bare") options.bare = value;
        else return std::nullopt;
    }
    if (options.runs < 1 || options.warmups < 0) return std::nullopt;
    return options;
}

// The entry that makes the diary close at once: today's, in slot 0.
void put_today(const StoreDir& dir, DayNumber today) {
    EntryRecord record;
    record.text = "Dentist at half past ten";
    bench::put_entry(dir, today, 0, record);
}

// Ten entries a day on 10,000 days after the week the glance shows (so both stores show the same
// week), and today's entry. The last days lie past 2050, where the diary would not let a user
// write: only about 88,000 slots are left before then. The glance only lists these files, at
// close.
void fill_large(const StoreDir& dir, DayNumber today) {
    put_today(dir, today);
    for (DayNumber day = today + 7; day < today + 7 + future_entry_days; ++day)
        bench::write_day(dir, day, true);
}

struct Case {
    std::string label;                    // in the table
    std::string short_label;              // in the ratio lines
    bool diary = true;                    // false: the bare window
    bool text = false;                    // the bare window draws the week's text
    const StoreDir* store = nullptr;      // the folder it runs in
    std::optional<std::string> settings;  // the text of WYNDALE.INI; none: no such file
    std::vector<double> times_ms;         // of the measured runs
    std::vector<double> cpu_ms;
    std::vector<long> peaks_kib;
    std::string problem;                  // why a run failed; the case has no result then
    std::string output;                   // what its last run wrote, when anything
};

struct RunResult {
    double ms = 0;
    double cpu_ms = 0;  // user and system time
    long peak_kib = 0;
    std::string problem;
    std::string output;
};

std::string make_temp_dir(const std::string& pattern) {
    std::string name = pattern;
    if (::mkdtemp(name.data()) == nullptr) return {};
    return name;
}

bool write_text(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    return bool(file.flush());
}

std::string read_text(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// This process's environment with the three variables of a run set afresh.
std::vector<std::string> run_environment(const std::string& config, const std::string& runtime) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text = *entry;
        if (text.starts_with("QT_QPA_PLATFORM=") || text.starts_with("XDG_CONFIG_HOME=") ||
            text.starts_with("XDG_RUNTIME_DIR="))
            continue;
        variables.emplace_back(text);
    }
    variables.push_back("QT_QPA_PLATFORM=offscreen");
    variables.push_back("XDG_CONFIG_HOME=" + config);
    variables.push_back("XDG_RUNTIME_DIR=" + runtime);
    return variables;
}

double ms_between(const timespec& start, const timespec& end) {
    return double(end.tv_sec - start.tv_sec) * 1e3 + double(end.tv_nsec - start.tv_nsec) / 1e6;
}

void on_alarm(int) {}

// One run of the case's program ("-a 5" for the diary), in its store, with fresh settings and runtime
// folders. Everything the child needs is made before the clock starts.
RunResult run_once(const Options& options, const Case& item, const std::string& work) {
    RunResult result;
    const std::string config = make_temp_dir(work + "/config-XXXXXX");
    const std::string runtime = make_temp_dir(work + "/runtime-XXXXXX");
    const std::string log = work + "/output.txt";
    if (config.empty() || runtime.empty()) {
        result.problem = "cannot make the run's folders";
        return result;
    }
    if (item.settings && !write_text(config + "/WYNDALE.INI", *item.settings))
        result.problem = "cannot write the settings file";

    const std::string& program = item.diary ? options.diary : options.bare;
    std::vector<std::string> variables = run_environment(config, runtime);
    std::vector<char*> envp;
    for (std::string& variable : variables) envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::vector<std::string> arguments{program};
    // The diary works on the folder it is started in, as the bare window has it.
    if (item.diary) arguments.insert(arguments.end(), {"--folder", ".", "-a", "5"});
    else if (item.text) arguments.emplace_back("--text");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string folder = item.store->string();
    const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int output = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);

    if (result.problem.empty() && input >= 0 && output >= 0) {
        timespec start{}, end{};
        ::clock_gettime(CLOCK_MONOTONIC, &start);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(input, 0);
            ::dup2(output, 1);
            ::dup2(output, 2);
            if (::chdir(folder.c_str()) != 0) ::_exit(126);
            ::execve(program.c_str(), argv.data(), envp.data());
            ::_exit(127);
        }
        if (pid < 0) {
            result.problem = std::string("fork failed: ") + std::strerror(errno);
        } else {
            int status = 0;
            rusage usage{};
            ::alarm(hang_limit_seconds);
            pid_t waited;
            while ((waited = ::wait4(pid, &status, 0, &usage)) < 0 && errno == EINTR) {
                ::kill(pid, SIGKILL);
                result.problem = "still running after a minute; killed";
            }
            ::alarm(0);
            ::clock_gettime(CLOCK_MONOTONIC, &end);
            result.ms = ms_between(start, end);
            result.peak_kib = usage.ru_maxrss;
            result.cpu_ms = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                            double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
            if (waited != pid) {
                result.problem = "lost the child process";
            } else if (WIFSIGNALED(status)) {
                if (result.problem.empty()) result.problem = std::string("killed by ") + strsignal(WTERMSIG(status));
            } else if (WEXITSTATUS(status) == 127 || WEXITSTATUS(status) == 126) {
                result.problem = "cannot start " + program + " in " + folder;
            } else if (WEXITSTATUS(status) != 0) {
                result.problem = "exited with status " + std::to_string(WEXITSTATUS(status));
            } else if (result.ms > run_limit_ms) {
                result.problem = "did not close at once (was today's entry not found?)";
            }
        }
    } else if (result.problem.empty()) {
        result.problem = "cannot open the run's output file";
    }
    if (input >= 0) ::close(input);
    if (output >= 0) ::close(output);
    result.output = read_text(log);
    std::error_code error;
    std::filesystem::remove_all(config, error);
    std::filesystem::remove_all(runtime, error);
    return result;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double mib(double kib) { return kib / 1024.0; }

bool has_result(const Case& item) { return item.problem.empty() && !item.times_ms.empty(); }

// "  (goal <= 1.15x: met)", or "goal missed"; nothing when the figure has no goal.
std::string goal_text(double value, std::optional<double> goal, const char* format) {
    if (!goal) return {};
    char limit[32];
    std::snprintf(limit, sizeof limit, format, *goal);
    return std::string("  (goal <= ") + limit + (value <= *goal ? ": met)" : ": goal missed)");
}

int run(const Options& options) {
    const SystemClock clock;
    DayNumber today = today_from(clock);
    // One store of each size for each keep code, as a user's store has one: a close notes what it
    // did for the next one with the same keep code, and another keep code makes the next close
    // list all.
    const bench::TempStore small_for_ever([&](const StoreDir& dir) { put_today(dir, today); },
                                          "/tmp/daybrook-glance-XXXXXX");
    const bench::TempStore small_default([&](const StoreDir& dir) { put_today(dir, today); },
                                         "/tmp/daybrook-glance-XXXXXX");
    const bench::TempStore large_for_ever([&](const StoreDir& dir) { fill_large(dir, today); },
                                          "/tmp/daybrook-glance-XXXXXX");
    const bench::TempStore large_default([&](const StoreDir& dir) { fill_large(dir, today); },
                                         "/tmp/daybrook-glance-XXXXXX");
    const bench::TempStore work([](const StoreDir&) {}, "/tmp/daybrook-glance-XXXXXX");

    // Settings as a close leaves them for the next login: all three keys, the first run over a
    // year ago. A file that lacks a key is written again at close, once in the diary's life,
    // which the first start without any settings file shows.
    const auto settings = [&](int keep_code, int sounds) {
        return "[Daybrook]\nKeepCode=" + std::to_string(keep_code) + "\nSounds=" + std::to_string(sounds) +
               "\nLastSet=" + std::to_string(today - 400) + "\n";
    };
    const std::string for_ever = settings(4, 0);
    const std::string quiet = settings(0, 0);
    std::vector<Case> cases{
        {"bare Qt window", "bare window", false, false, &small_for_ever.dir(), std::nullopt},
        {"bare Qt window drawing the week's text", "text window", false, true, &small_for_ever.dir(), std::nullopt},
        {"empty store, kept for ever", "empty, for ever", true, false, &small_for_ever.dir(), for_ever},
        {"empty store, default keep code", "empty, default", true, false, &small_default.dir(), quiet},
        {"100,000 entries, kept for ever", "100,000, for ever", true, false, &large_for_ever.dir(), for_ever},
        {"100,000 entries, default keep code", "100,000, default", true, false, &large_default.dir(), quiet},
        {"empty store, sounds on", "sounds on", true, false, &small_default.dir(), settings(0, 1)},
        {"empty store, first start (sounds on)", "first start", true, false, &small_default.dir(), std::nullopt},
    };
    const Case& bare = cases[0];
    const Case& text_window = cases[1];
    const Case& sounds_off = cases[3];
    const Case& sounds_on = cases[6];
    const Case& first_start = cases[7];

    struct sigaction action {};
    action.sa_handler = on_alarm;  // no SA_RESTART: the alarm breaks wait4 off
    ::sigaction(SIGALRM, &action, nullptr);

    for (int round = 0; round < options.warmups + options.runs; ++round) {
        // A run that goes on past midnight writes the new day's entry too.
        if (const DayNumber now = today_from(clock); now != today) {
            today = now;
            put_today(small_for_ever.dir(), today);
            put_today(small_default.dir(), today);
            put_today(large_for_ever.dir(), today);
            put_today(large_default.dir(), today);
        }
        for (Case& item : cases) {
            if (!item.problem.empty()) continue;
            const RunResult result = run_once(options, item, work.dir().string());
            if (!result.output.empty()) item.output = result.output;
            if (!result.problem.empty()) {
                item.problem = result.problem;
                continue;
            }
            if (round < options.warmups) continue;
            item.times_ms.push_back(result.ms);
            item.cpu_ms.push_back(result.cpu_ms);
            item.peaks_kib.push_back(result.peak_kib);
        }
    }

    std::printf("Start to exit of `-a 5` on the offscreen platform, today's entry in the store; "
                "%d runs of each after %d warm-up rounds.\n"
                "Settings files hold Sounds=0 (no alarm sound), except in the last two cases; the last\n"
                "has none, as at the first start, which writes one.\n\n",
                options.runs, options.warmups);
    std::printf("%-38s %10s %10s %10s %10s %12s %12s\n", "case", "median", "fastest", "slowest", "cpu (med)",
                "peak (med)", "peak (max)");
    bool failed = false;
    for (const Case& item : cases) {
        if (!has_result(item)) {
            std::printf("%-38s no result: %s\n", item.label.c_str(), item.problem.c_str());
            failed = true;
        } else {
            const auto [fastest, slowest] = std::minmax_element(item.times_ms.begin(), item.times_ms.end());
            const std::vector<double> peaks(item.peaks_kib.begin(), item.peaks_kib.end());
            std::printf("%-38s %7.1f ms %7.1f ms %7.1f ms %7.1f ms %8.1f MiB %8.1f MiB\n", item.label.c_str(),
                        median(item.times_ms), *fastest, *slowest, median(item.cpu_ms), mib(median(peaks)),
                        mib(*std::max_element(peaks.begin(), peaks.end())));
        }
        if (!item.output.empty()) {
            std::istringstream lines(item.output);
            std::string first;
            std::getline(lines, first);
            std::printf("%-38s   wrote: %s\n", "", first.c_str());
        }
    }

    // The lines of bench/run's report. The goals hold for the real (wall-clock) times; the ratio
    // of the processor times beside them moves less when the machine is busy with other work.
    const auto startup = [&](const Case& item, std::optional<double> goal) {
        const std::string label = "glance, " + item.short_label;
        if (!has_result(item) || !has_result(bare)) {
            std::printf("ratio %-32s no result\n", label.c_str());
            return;
        }
        const double ratio = median(item.times_ms) / median(bare.times_ms);
        std::printf("ratio %-32s %.1f ms / bare window %.1f ms = %.2fx (cpu %.2fx)%s\n", label.c_str(),
                    median(item.times_ms), median(bare.times_ms), ratio,
                    median(item.cpu_ms) / median(bare.cpu_ms), goal_text(ratio, goal, "%.2fx").c_str());
    };
    startup(cases[2], 1.15);
    startup(cases[3], 1.15);
    startup(cases[4], std::nullopt);
    startup(cases[5], 1.5);
    if (has_result(text_window) && has_result(cases[2]) && has_result(bare)) {
        const double text = median(text_window.times_ms), diary = median(cases[2].times_ms);
        std::printf("ratio %-32s %.1f ms / text window %.1f ms = %.2fx (the text window is %.2fx the bare one)\n",
                    "glance beyond its text", diary, text, diary / text, text / median(bare.times_ms));
    } else {
        std::printf("ratio %-32s no result\n", "glance beyond its text");
    }
    if (has_result(sounds_on) && has_result(sounds_off)) {
        const double on = median(sounds_on.times_ms), off = median(sounds_off.times_ms);
        std::printf("ratio %-32s %.1f ms / %.1f ms with Sounds=0 = %.2fx (%+.1f ms)\n", "glance, sounds on", on,
                    off, on / off, on - off);
    } else {
        std::printf("ratio %-32s no result\n", "glance, sounds on");
    }
    if (has_result(first_start) && has_result(sounds_on)) {
        const double first = median(first_start.times_ms), later = median(sounds_on.times_ms);
        std::printf("ratio %-32s %.1f ms / %.1f ms with a settings file = %.2fx (%+.1f ms)\n",
                    "glance, first start", first, later, first / later, first - later);
    } else {
        std::printf("ratio %-32s no result\n", "glance, first start");
    }
    const std::vector<double> bare_peaks(bare.peaks_kib.begin(), bare.peaks_kib.end());
    for (std::size_t i = 2; i < cases.size(); ++i) {
        const Case& item = cases[i];
        const std::string label = "peak memory, " + item.short_label;
        if (!has_result(item) || !has_result(bare)) {
            std::printf("ratio %-32s no result\n", label.c_str());
            continue;
        }
        const double peak = mib(double(*std::max_element(item.peaks_kib.begin(), item.peaks_kib.end())));
        std::printf("ratio %-32s %.2f MiB, highest of %zu runs (bare window %.2f MiB)%s\n", label.c_str(), peak,
                    item.peaks_kib.size(), mib(median(bare_peaks)), goal_text(peak, 30.0, "%.0f MiB").c_str());
    }
    return failed ? 1 : 0;
}

}  // namespace
}  // namespace daybrook

int main(int argc, char** argv) {
    const std::optional<daybrook::Options> options = daybrook::parse_options(argc, argv);
    if (!options) {
        daybrook::print_usage();
        return 2;
    }
    try {
        return daybrook::run(*options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "process_bench: %s\n", error.what());
        return 1;
    }
}
