#include "app/settings.h"

#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

#include "calendar/text_helpers.h"
#include "store/file_writes.h"

namespace daybrook {
namespace {

constexpr const char* section = "Daybrook";
// "Sounds" has always been written under the lower-case name; sections match without regard to
// case, so a new file simply starts with the lower-case header.
constexpr const char* sounds_section = "daybrook";
// Values are read as at most this many characters before they are converted.
constexpr std::size_t value_chars = 24;

// Parses the file into ini; a file that does not exist leaves it empty. Returns false when the
// file exists but cannot be read.
bool load(const std::filesystem::path& path, CSimpleIniA& ini) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return true;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return !in.bad() && ini.LoadData(text) >= 0;
}

int read_number(const CSimpleIniA& ini, const char* key, int fallback) {
    const char* value = ini.GetValue(section, key, nullptr);
    if (!value) return fallback;
    return text_to_int(std::string_view(value).substr(0, value_chars));
}

// The file that the settings path names: a symbolic link (a settings file kept with the user's
// other dotfiles) stays a link, and the file it points to is replaced.
std::filesystem::path target_of(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path target = std::filesystem::canonical(path, error);
    return error ? path : target;
}

// Makes the folder when missing, then replaces the file as a whole.
bool save_text(const std::filesystem::path& path, const std::string& text) {
    std::error_code error;
    const std::filesystem::path target = target_of(path);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    return replace_file(target.native(), std::span(bytes, text.size()));
}

}  // namespace

std::filesystem::path settings_path(const char* xdg_config_home, const char* home) {
    const std::filesystem::path name = "WYNDALE.INI";
    if (xdg_config_home && *xdg_config_home) return std::filesystem::path(xdg_config_home) / name;
    return std::filesystem::path(home ? home : "") / ".config" / name;
}

std::filesystem::path settings_path() {
    return settings_path(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

std::optional<Settings> SettingsFile::read(DayNumber today) const {
    CSimpleIniA ini;
    if (!load(m_path, ini)) return std::nullopt;
    return Settings{
        .keep_code = read_number(ini, "KeepCode", 0),
        .last_set = read_number(ini, "LastSet", today),
        .sounds_on = read_number(ini, "Sounds", 1),
    };
}

bool SettingsFile::write(const Settings& settings, DayNumber today) const {
    CSimpleIniA ini;
    ini.SetSpaces(false);
    if (!load(m_path, ini)) return false;
    const DayNumber last_set = settings.last_set == 0 ? today : settings.last_set;
    ini.SetValue(sounds_section, "Sounds", settings.sounds_on != 0 ? "1" : "0");
    ini.SetValue(section, "KeepCode", std::to_string(settings.keep_code).c_str());
    ini.SetValue(section, "LastSet", std::to_string(last_set).c_str());
    std::string text;
    if (ini.Save(text) < 0) return false;
    if (!text.empty() && text.back() != '\n') text += '\n';
    return save_text(m_path, text);
}

}  // namespace daybrook
