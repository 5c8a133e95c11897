#include "config/diary_folder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <system_error>

namespace daybrook {
namespace {

namespace fs = std::filesystem;

constexpr const char* no_data_folder = "neither XDG_DATA_HOME nor HOME names an absolute folder";

// Creates each missing folder of the path with mode 0700 from the start, so that the entries are
// never readable by others, not even for a moment.
std::optional<FolderProblem> make_private_folders(const fs::path& folder) {
    fs::path reached;
    for (const fs::path& part : folder) {
        reached /= part;
        if (::mkdir(reached.c_str(), 0700) != 0 && errno != EEXIST)
            return FolderProblem{"cannot make " + reached.string() + ": " + std::strerror(errno)};
    }
    std::error_code error;
    if (!fs::is_directory(folder, error)) return FolderProblem{folder.string() + " is not a folder"};
    return std::nullopt;
}

// The folder's absolute path without symbolic links; it must be an existing folder.
std::variant<fs::path, FolderProblem> real_folder(const fs::path& folder) {
    std::error_code error;
    fs::path real = fs::canonical(folder, error);
    if (error) return FolderProblem{error.message()};
    if (!fs::is_directory(real, error)) return FolderProblem{"not a folder"};
    return real;
}

}  // namespace

std::optional<fs::path> user_data_folder(const char* xdg_data_home, const char* home) {
    if (xdg_data_home && fs::path(xdg_data_home).is_absolute()) return fs::path(xdg_data_home);
    if (home && fs::path(home).is_absolute()) return fs::path(home) / ".local" / "share";
    return std::nullopt;
}

std::variant<fs::path, FolderProblem> make_diary_folder(const char* xdg_data_home, const char* home) {
    const std::optional<fs::path> data = user_data_folder(xdg_data_home, home);
    if (!data) return FolderProblem{no_data_folder};
    const fs::path folder = *data / "daybrook";
    if (std::optional<FolderProblem> problem = make_private_folders(folder)) return *problem;
    return folder;
}

std::variant<fs::path, FolderProblem> find_diary_folder(const std::optional<std::string>& given,
                                                        const char* xdg_data_home, const char* home, OwnFolder own) {
    if (given) return real_folder(*given);
    if (own == OwnFolder::leave) {
        const std::optional<fs::path> data = user_data_folder(xdg_data_home, home);
        if (!data) return FolderProblem{no_data_folder};
        std::error_code error;
        if (!fs::exists(*data / "daybrook", error) && !error) return *data / "daybrook";
        return real_folder(*data / "daybrook");
    }
    std::variant<fs::path, FolderProblem> made = make_diary_folder(xdg_data_home, home);
    if (const auto* folder = std::get_if<fs::path>(&made)) return real_folder(*folder);
    return made;
}

}  // namespace daybrook
