#include "window/diary_files.h"

#include <QtGlobal>

#include <string>
#include <variant>
#include <vector>

#include "store/retention.h"

namespace daybrook {
namespace {

void log_names(const std::vector<std::string>& names, const char* what) {
    if (names.empty()) return;
    std::string list;
    for (const std::string& name : names) list.append(list.empty() ? "" : ", ").append(name);
    qWarning("Daybrook %s: %s", what, list.c_str());
}

// One line for each kind of trouble the purge met; a clean purge says nothing.
void log_purge(const PurgeReport& report) {
    if (!report.store_locked) {
        qWarning("Daybrook left old entries for the next close: another copy of the diary held the store");
        return;
    }
    if (report.lock_link_replaced)
        qWarning("Daybrook found a symbolic link in place of its store's lock file; it did not follow the "
                 "link and made a fresh lock file");
    if (report.kept_without_choice)
        qWarning("Daybrook deleted no old entries: neither its settings file nor an earlier close tells how long "
                 "you keep them, as when the diary's files were brought to a new account. Choose in Keep old "
                 "Entries to set it");
    if (report.kept_as_last_close)
        qWarning("Daybrook kept old entries for %d days, as its last close did, and not for the shorter time "
                 "its settings give: the settings may have been lost or replaced. Choose in Keep old Entries "
                 "to change it", keep_days(*report.kept_as_last_close));
    if (report.note_unwritten)
        qWarning("Daybrook could not note this close in its store's lock file; the next close may take longer");
    log_names(report.unreadable, "kept passed entries it could not read");
    log_names(report.kept_unrenewed, "kept yearly entries it could not carry over to next year");
    log_names(report.unmarked, "could not mark these entries as carried over (their copies are in place)");
    log_names(report.delete_failed, "could not delete these expired entries");
    log_names(report.left_behind, "could not remove these files of its own (they go at a later close)");
}

}  // namespace

void load_settings(DiaryState& state, const SettingsFile& file) {
    const std::variant<Settings, SettingsProblem> stored = file.read(state.today);
    RetentionState& retention = state.retention;
    if (const auto* problem = std::get_if<SettingsProblem>(&stored)) {
        qWarning("Daybrook cannot read its settings (%s); no entries expire in this run and the "
                 "settings file is left as it is", problem->reason.c_str());
        retention.choice_known = false;
        retention.last_set = state.today;
        set_keep_code(retention, KeepCode::none, state.today);
        return;
    }
    const Settings& settings = std::get<Settings>(stored);
    retention.choice_known = true;
    retention.settings_missing = file.missing();
    retention.last_set = settings.last_set;
    set_keep_code(retention, settings.keep_code, state.today);
    state.sounds_on = settings.sounds_on;
}

void save_and_purge(const DiaryState& state, const SettingsFile& file, const StoreDir& store) {
    const RetentionState& retention = state.retention;
    if (!retention.choice_known) return;
    const Settings settings{.keep_code = retention.keep_code, .last_set = retention.last_set,
                            .sounds_on = state.sounds_on};
    if (const std::optional<SettingsProblem> problem = file.write(settings, state.today))
        qWarning("Daybrook could not save its settings (%s)", problem->reason.c_str());
    const KeepChoice choice = retention.chosen_in_run      ? KeepChoice::chosen_this_run
                              : retention.settings_missing ? KeepChoice::settings_missing
                                                           : KeepChoice::from_settings;
    log_purge(purge_old(store, state.today, retention.keep_code, choice));
}

}  // namespace daybrook
