#include "app/sync_command.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <variant>

#include "app/ics_loader.h"
#include "config/settings.h"
#include "framework/trash.h"
#include "store/retention.h"
#include "store/store_lock.h"

namespace daybrook {
namespace {

// The keep code of the settings. When they cannot be read the shortest keep time stands in, so
// that no entry the purge removed passes for one the user deleted.
KeepCode keep_code_of_settings(const TerminalRun& run) {
    const auto read = SettingsFile(run.settings).read(run.today);
    const auto* settings = std::get_if<Settings>(&read);
    return settings ? settings->keep_code : KeepCode::none;
}

void print(const SyncReport& report, const TerminalRun& run) {
    if (report.state_damaged)
        run.out << "The record of the last sync was damaged: entries and events were paired by their contents.\n";
    run.out << QString::fromStdString(summary_line(report)) << '\n';
    for (const SkippedItem& item : report.not_taken)
        run.out << "  not taken " << QString::fromStdString(describe(item)) << '\n';
    for (const std::string& name : report.failures)
        run.err << "Daybrook could not bring " << QString::fromStdString(name) << " in step\n";
}

}  // namespace

TerminalStatus sync_command(const QCommandLineParser& parser, const TerminalRun& run) {
    const QString vdir = parser.value(QStringLiteral("sync"));
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(vdir.toStdString(), error);
    if (error || !std::filesystem::is_directory(folder, error)) {
        run.err << "Daybrook cannot sync with " << vdir << ": it is no folder\n";
        return TerminalStatus::failed;
    }
    const std::variant<const IcsModule*, std::string> module = load_ics_module();
    if (const auto* why = std::get_if<std::string>(&module)) {
        run.err << "Daybrook cannot sync: " << QString::fromStdString(*why) << '\n';
        return TerminalStatus::failed;
    }
    const std::optional<StoreLock> lock = StoreLock::acquire(run.folder, default_lock_patience);
    if (!lock) {
        run.err << "Daybrook did not sync: another copy of the diary holds its folder\n";
        return TerminalStatus::failed;
    }
    const SyncReport report = std::get<const IcsModule*>(module)->sync_calendar_folder(
        {.diary = run.folder, .vdir = folder, .today = run.today, .keep_code = keep_code_of_settings(run),
         .dispose = move_to_trash});
    if (!report.error.empty()) {
        run.err << "Daybrook did not sync with " << vdir << ": " << QString::fromStdString(report.error) << '\n';
        return TerminalStatus::failed;
    }
    print(report, run);
    return report.failures.empty() ? TerminalStatus::done : TerminalStatus::failed;
}

}  // namespace daybrook
