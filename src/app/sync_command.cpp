#include "app/sync_command.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <variant>

#include "app/altered_lines.h"
#include "app/ics_loader.h"
#include "app/store_lock_command.h"
#include "framework/trash.h"

namespace daybrook {
namespace {

void print_held_back(const SyncReport& report, const QString& vdir, const TerminalRun& run) {
    if (report.held_here + report.held_there == 0) return;
    run.err << "Daybrook held back " << report.held_here << " removals here and " << report.held_there
            << " there: that is most of what the last sync saw, as when a folder is wiped or mounted wrong.\n"
            << "If they are meant, run: daybrook --sync " << vdir << " --accept-removals\n";
}

void print(const SyncReport& report, const QString& vdir, bool verbose, const TerminalRun& run) {
    if (report.state_damaged)
        run.out << "The record of the last sync was damaged: entries and events were paired by their contents.\n";
    run.out << QString::fromStdString(summary_line(report)) << '\n';
    for (const SkippedItem& item : report.not_taken)
        run.out << "  not taken " << QString::fromStdString(describe(item)) << '\n';
    print_altered(report.altered, verbose, run);
    for (const std::string& note : report.notes) run.out << "  " << QString::fromStdString(note) << '\n';
    print_held_back(report, vdir, run);
    for (const std::string& failure : report.failures)
        run.err << "Daybrook could not sync " << QString::fromStdString(failure) << '\n';
}

// The folder by its real path, so that "DIR", "DIR/" and "./DIR" are one vdir to the state.
std::optional<std::filesystem::path> real_folder(const QString& vdir) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::canonical(vdir.toStdString(), error);
    if (error || !std::filesystem::is_directory(folder, error)) return std::nullopt;
    return folder;
}

}  // namespace

TerminalStatus sync_command(const QCommandLineParser& parser, const TerminalRun& run) {
    const QString vdir = parser.value(QStringLiteral("sync"));
    const std::optional<std::filesystem::path> folder = real_folder(vdir);
    if (!folder) {
        run.err << "Daybrook cannot sync with " << vdir << ": it is no folder\n";
        return TerminalStatus::failed;
    }
    const std::variant<const IcsModule*, std::string> module = load_ics_module();
    if (const auto* why = std::get_if<std::string>(&module)) {
        run.err << "Daybrook cannot sync: " << QString::fromStdString(*why) << '\n';
        return TerminalStatus::failed;
    }
    const std::optional<StoreLock> lock = lock_store(run, "did not sync");
    if (!lock) return TerminalStatus::failed;
    const Removals removals =
        parser.isSet(QStringLiteral("accept-removals")) ? Removals::accept : Removals::hold_mass;
    const auto to_trash = [](const std::string& path) { return move_to_trash(path).taken(); };
    const SyncReport report = std::get<const IcsModule*>(module)->sync_calendar_folder(
        {.diary = run.folder, .vdir = *folder, .today = run.today, .dispose = to_trash, .removals = removals});
    if (!report.error.empty()) {
        run.err << "Daybrook did not sync with " << vdir << ": " << QString::fromStdString(report.error) << '\n';
        return TerminalStatus::failed;
    }
    print(report, vdir, parser.isSet(QStringLiteral("verbose")), run);
    const bool all_done = report.failures.empty() && report.held_here + report.held_there == 0;
    return all_done ? TerminalStatus::done : TerminalStatus::failed;
}

}  // namespace daybrook
