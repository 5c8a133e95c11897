#include "config/settings.h"

// SimpleIni is a header of templates. Debian's copy keeps their code behind SI_IMPLEMENTATION
// and offers it as a shared library as well; compiled in here, as from SimpleIni's own header,
// the diary does not load that library at every start.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string_view>
#include <system_error>

#include "config/ini_text.h"
#include "calendar/text_helpers.h"
#include "store/file_writes.h"

namespace daybrook {
namespace {

constexpr const char* section = "Daybrook";
// Existing files hold "Sounds" under the lower-case name; sections match without regard to
// case, so a new file starts with the lower-case header too.
constexpr std::string_view new_section = "daybrook";
// Values are read as at most this many characters before they are converted.
constexpr std::size_t value_chars = 24;
// A settings file is a few lines; anything this large is not one the diary can take whole.
constexpr std::size_t largest_file = 1 << 20;

SettingsProblem problem_of(const std::string& what, int error) {
    return {what + ": " + std::strerror(error)};
}

// Why a text cannot be taken whole as the settings, or nothing when it can.
std::optional<SettingsProblem> whole_text_problem(std::string_view text, const std::string& name) {
    if (text.size() > largest_file) return SettingsProblem{name + " is too large to be a settings file"};
    // The INI reader would stop at a zero byte and take the rest of the text as missing.
    if (text.find('\0') != std::string_view::npos) return SettingsProblem{name + " holds a zero byte"};
    // Nor is a text with other control characters one: damaged or random bytes would read as a
    // file without the diary's keys, whose defaults would let old entries expire. Tabs, line
    // ends, form feeds and DOS's end-of-file mark are text.
    const auto control = [](unsigned char c) { return (c < 0x20 && !std::strchr("\t\n\v\f\r\x1a", c)) || c == 0x7f; };
    if (std::any_of(text.begin(), text.end(), control)) return SettingsProblem{name + " is not a text file"};
    return std::nullopt;
}

bool is_link(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// The file's text: nothing when there is no such file, a problem when it is there but cannot be
// read whole.
using FileText = std::variant<std::optional<std::string>, SettingsProblem>;

FileText read_text(const std::filesystem::path& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        if (errno != ENOENT) return problem_of("cannot open " + path.string(), errno);
        // A link whose file is missing (a dotfile folder not mounted, say) stands for settings
        // that cannot be read now, not for a first start.
        if (is_link(path)) return SettingsProblem{path.string() + " is a symbolic link to a file that is missing"};
        return std::optional<std::string>{};
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) return problem_of("cannot examine " + path.string(), errno);
    if (!S_ISREG(info.st_mode)) return SettingsProblem{path.string() + " is not a regular file"};
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return problem_of("cannot read " + path.string(), errno);
        if (got == 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
        if (text.size() > largest_file) break;
    }
    if (auto problem = whole_text_problem(text, path.string())) return *std::move(problem);
    return std::optional<std::string>{std::move(text)};
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

// A file that nobody may write to says the user wants it left alone; root too respects that.
bool read_only(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// Makes the folder when missing, then replaces the file as a whole.
std::optional<SettingsProblem> save_text(const std::filesystem::path& path, const std::string& text) {
    const std::filesystem::path target = target_of(path);
    if (read_only(target)) return SettingsProblem{target.string() + " is read-only"};
    std::error_code error;
    if (target.has_parent_path() && !std::filesystem::create_directories(target.parent_path(), error) && error)
        return problem_of("cannot make " + target.parent_path().string(), error.value());
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    if (!replace_file(target.native(), std::span(bytes, text.size())))
        return problem_of("cannot replace " + target.string(), errno);
    return std::nullopt;
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

std::variant<Settings, SettingsProblem> parse_settings(std::string_view text, DayNumber today, const std::string& name) {
    if (auto problem = whole_text_problem(text, name)) return *std::move(problem);
    CSimpleIniA ini;
    if (ini.LoadData(text.data(), text.size()) < 0) return SettingsProblem{name + " cannot be parsed"};
    return Settings{
        .keep_code = KeepCode{read_number(ini, "KeepCode", 0)},
        .last_set = read_number(ini, "LastSet", today),
        .sounds_on = read_number(ini, "Sounds", 1) != 0,
    };
}

std::variant<Settings, SettingsProblem> SettingsFile::read(DayNumber today) const {
    const FileText file = read_text(m_path);
    if (const auto* problem = std::get_if<SettingsProblem>(&file)) return *problem;
    // A missing file reads as an empty one: every value is its default.
    return parse_settings(std::get<std::optional<std::string>>(file).value_or(""), today, m_path.string());
}

bool SettingsFile::missing() const {
    struct stat info {};
    return ::lstat(m_path.c_str(), &info) != 0 && errno == ENOENT;
}

std::optional<SettingsProblem> SettingsFile::write(const Settings& settings, DayNumber today) const {
    const FileText file = read_text(m_path);
    if (const auto* problem = std::get_if<SettingsProblem>(&file)) return *problem;
    const std::string old_text = std::get<std::optional<std::string>>(file).value_or("");
    const DayNumber last_set = settings.last_set == 0 ? today : settings.last_set;
    const std::string new_text = set_ini_values(old_text, new_section,
                                                {{"Sounds", settings.sounds_on ? "1" : "0"},
                                                 {"KeepCode", std::to_string(static_cast<int>(settings.keep_code))},
                                                 {"LastSet", std::to_string(last_set)}});
    if (new_text == old_text) return std::nullopt;
    return save_text(m_path, new_text);
}

}  // namespace daybrook
