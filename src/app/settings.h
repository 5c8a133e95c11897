// The settings file "WYNDALE.INI": the retention choice, the day retention counts from, and the
// alarm-sound switch, in the section "Daybrook". Sections and keys the diary does not own are
// kept as they are when it writes its own.
#pragma once

#include <filesystem>
#include <optional>

#include "calendar/day_number.h"

namespace daybrook {

struct Settings {
    int keep_code = 0;        // "KeepCode": 0 none, 1 a week, 2 a month, 3 a year, 4 for ever
    DayNumber last_set = 0;   // "LastSet": the day of the first run with a settings file
    int sounds_on = 1;        // "Sounds": any non-zero value is on

    friend bool operator==(const Settings&, const Settings&) = default;
};

// "WYNDALE.INI" in $XDG_CONFIG_HOME, or in ~/.config when that is unset or empty.
std::filesystem::path settings_path(const char* xdg_config_home, const char* home);
// The same for the environment of this process.
std::filesystem::path settings_path();

class SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path path) : m_path(std::move(path)) {}

    // The stored values; a missing file, section or key gives the default ("LastSet" defaults to
    // today). A value that is not a number reads as 0. Nothing when the file exists but cannot
    // be read: its values are unknown, and the defaults must not stand in for them.
    std::optional<Settings> read(DayNumber today) const;

    // Writes the three keys, with a "LastSet" of 0 replaced by today, through a temporary file
    // and a rename. Returns false when the file could not be read back or written; the file is
    // then left as it was.
    bool write(const Settings& settings, DayNumber today) const;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace daybrook
