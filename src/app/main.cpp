// Daybrook: a small personal diary for the desktop.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <variant>
#include <vector>

#include "config/command_line.h"
#include "config/diary_folder.h"
#include "app/t_app.h"

namespace {

// Makes the diary's own folder when it is missing and changes into it, so that the launchers
// need no shell to do it. False, after one line on standard error, when either step fails.
bool enter_own_folder() {
    const auto made = daybrook::make_diary_folder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (const auto* problem = std::get_if<daybrook::FolderProblem>(&made)) {
        std::fprintf(stderr, "Daybrook cannot make its diary folder (%s), so it cannot keep its entries.\n",
                     problem->reason.c_str());
        return false;
    }
    const std::filesystem::path& folder = std::get<std::filesystem::path>(made);
    std::error_code error;
    std::filesystem::current_path(folder, error);
    if (error) {
        std::fprintf(stderr, "Daybrook cannot enter its diary folder %s (%s), so it cannot find its entries.\n",
                     folder.c_str(), error.message().c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const daybrook::CommandLine mode = daybrook::parse_command_line(arguments);
    if (mode.own_folder && !enter_own_folder()) return 1;
    // The entries live in the folder the diary is started in; without it there is no diary.
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (error) {
        std::fprintf(stderr, "Daybrook cannot tell which folder it was started in (%s), so it cannot find its entries.\n",
                     error.message().c_str());
        return 1;
    }
    // Qt is given the program name alone, so that it takes none of the diary's arguments.
    int qt_argc = 1;
    char fallback_name[] = "daybrook";
    char* qt_argv[] = {argc > 0 ? argv[0] : fallback_name, nullptr};
    daybrook::TApp app(qt_argc, qt_argv, mode, folder);
    return app.run();
}
