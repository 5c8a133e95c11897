// The folder the diary works on: its own folder, $XDG_DATA_HOME/daybrook (normally
// ~/.local/share/daybrook), wherever it is started, or another one named with --folder. The
// process never changes into it; every file of the diary is addressed through its path, so that
// file names typed on the command line keep meaning the shell's folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <variant>

namespace daybrook {

// The user's data folder, where the desktop keeps per-user data (the diary's own folder, the home
// trash), from the values of XDG_DATA_HOME and HOME (null when unset): $XDG_DATA_HOME when it is
// absolute, as the XDG base directory rules say, or else $HOME/.local/share. Nothing when neither
// names an absolute folder: a relative one would mean wherever the diary happens to be started.
std::optional<std::filesystem::path> user_data_folder(const char* xdg_data_home, const char* home);

// Why the folder could not be made, in words for the one line the diary prints.
struct FolderProblem {
    std::string reason;
};

// Makes the folder from the values of XDG_DATA_HOME and HOME (null when unset) and gives its
// path. XDG_DATA_HOME counts only as an absolute path, as the XDG base directory rules say;
// otherwise the folder is under $HOME/.local/share. The folder and any folders missing above it
// are created readable by the owner alone (0700); folders that are there are left as they are.
std::variant<std::filesystem::path, FolderProblem> make_diary_folder(const char* xdg_data_home, const char* home);

// Whether a run may make the own folder: one that writes nothing (a dry run) takes a missing one
// for an empty diary.
enum class OwnFolder { make, leave };

// The folder a run works on: `given` (from --folder, relative to the current folder), which must
// be there, since a mistyped name should not start an empty diary; or, without it, the own folder
// from make_diary_folder. Either way as an absolute path without symbolic links, so that one
// folder is one diary however it was named; an own folder left missing is named by its path.
std::variant<std::filesystem::path, FolderProblem> find_diary_folder(const std::optional<std::string>& given,
                                                                     const char* xdg_data_home, const char* home,
                                                                     OwnFolder own = OwnFolder::make);

}  // namespace daybrook
