// The diary's own folder, $XDG_DATA_HOME/daybrook (normally ~/.local/share/daybrook), where the
// launcher and the autostart entry keep the entries. Started otherwise, the diary uses the
// folder it is started in.
#pragma once

#include <filesystem>
#include <string>
#include <variant>

namespace daybrook {

// Why the folder could not be made, in words for the one line the diary prints.
struct FolderProblem {
    std::string reason;
};

// Makes the folder from the values of XDG_DATA_HOME and HOME (null when unset) and gives its
// path. XDG_DATA_HOME counts only as an absolute path, as the XDG base directory rules say;
// otherwise the folder is under $HOME/.local/share. The folder and any folders missing above it
// are created readable by the owner alone (0700); folders that are there are left as they are.
std::variant<std::filesystem::path, FolderProblem> make_diary_folder(const char* xdg_data_home, const char* home);

}  // namespace daybrook
