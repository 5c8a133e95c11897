// The settings file "WYNDALE.INI": the retention choice, the day retention counts from, and the
// alarm-sound switch, in the section "Daybrook". Everything else in the file belongs to the user
// or to other programs and is kept byte for byte when the diary saves its own keys.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "calendar/day_number.h"
#include "store/keep_code.h"

namespace daybrook {

struct Settings {
    KeepCode keep_code = KeepCode::none;  // "KeepCode", kept as read when it is no known code
    DayNumber last_set = 0;  // "LastSet": the day of the first run with a settings file
    bool sounds_on = true;   // "Sounds": any non-zero value is on; saved as "1" or "0"

    friend bool operator==(const Settings&, const Settings&) = default;
};

// Why the settings file could not be read or written, in words for the one line the diary logs.
struct SettingsProblem {
    std::string reason;

    friend bool operator==(const SettingsProblem&, const SettingsProblem&) = default;
};

// "WYNDALE.INI" in $XDG_CONFIG_HOME, or in ~/.config when that is unset or empty.
std::filesystem::path settings_path(const char* xdg_config_home, const char* home);
// The same for the environment of this process.
std::filesystem::path settings_path();

// The values a settings text holds, read as SettingsFile::read reads a file's text: a missing
// section or key gives the default ("LastSet" defaults to today), and a value that is not a
// number reads as 0. A text that cannot be taken whole (a zero byte or another control character in
// it, more than a settings file ever holds) gives the problem instead, whose reason names the text by `name`.
std::variant<Settings, SettingsProblem> parse_settings(std::string_view text, DayNumber today, const std::string& name);

class SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path path) : m_path(std::move(path)) {}

    // The stored values; a missing file, section or key gives the default ("LastSet" defaults to
    // today), and a value that is not a number reads as 0. A file that is there but cannot be
    // read whole (no permission to reach it, a link loop or a link to a missing file, a zero
    // byte in it, ...) gives the problem instead: its values are unknown, and the defaults must
    // not stand in for them.
    std::variant<Settings, SettingsProblem> read(DayNumber today) const;

    // Sets the three keys, with a "LastSet" of 0 replaced by today, and keeps every other byte.
    // The file is replaced whole through a temporary file and a rename, and only when something
    // changed. Nothing is written, and the problem is returned, when the file cannot be read
    // whole or is read-only.
    [[nodiscard]] std::optional<SettingsProblem> write(const Settings& settings, DayNumber today) const;

    // Whether no file, nor a link to one, has the settings file's name: a first start, or
    // settings lost, which the diary cannot tell apart.
    bool missing() const;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace daybrook
