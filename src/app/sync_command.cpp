#include "app/sync_command.h"

#include <QTextStream>

#include <filesystem>
#include <optional>
#include <system_error>
#include <variant>

#include "config/settings.h"
#include "framework/trash.h"
#include "store/retention.h"
#include "store/store_lock.h"

namespace daybrook {
namespace {

// The keep code of the settings. When they cannot be read the shortest keep time stands in, so
// that no entry the purge removed passes for one the user deleted.
KeepCode keep_code_of_settings(DayNumber today) {
    const auto read = SettingsFile(settings_path()).read(today);
    const auto* settings = std::get_if<Settings>(&read);
    return settings ? settings->keep_code : KeepCode::none;
}

}  // namespace

int sync_command(const IcsModule& ics, const StoreDir& store, const QString& vdir, DayNumber today) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(vdir.toStdString(), error);
    if (error || !std::filesystem::is_directory(folder, error)) {
        err << "Daybrook cannot sync with " << vdir << ": it is no folder\n";
        return 1;
    }
    const std::optional<StoreLock> lock = StoreLock::acquire(store, default_lock_patience);
    if (!lock) {
        err << "Daybrook did not sync: another copy of the diary holds its folder\n";
        return 1;
    }
    const SyncReport report = ics.sync_calendar_folder(
        {.diary = store, .vdir = folder, .today = today, .keep_code = keep_code_of_settings(today),
         .dispose = move_to_trash});
    if (!report.error.empty()) {
        err << "Daybrook did not sync with " << vdir << ": " << QString::fromStdString(report.error) << '\n';
        return 1;
    }
    if (report.state_damaged)
        out << "The record of the last sync was damaged: entries and events were paired by their contents.\n";
    out << QString::fromStdString(summary_line(report)) << '\n';
    for (const SkippedItem& item : report.not_taken) out << "  not taken " << QString::fromStdString(describe(item)) << '\n';
    out.flush();
    for (const std::string& name : report.failures)
        err << "Daybrook could not bring " << QString::fromStdString(name) << " in step\n";
    return report.failures.empty() ? 0 : 1;
}

}  // namespace daybrook
