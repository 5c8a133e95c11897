// Daybrook: a small personal diary for the desktop.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string_view>
#include <system_error>
#include <variant>
#include <vector>

#include "app/t_app.h"
#include "app/terminal_commands.h"
#include "config/command_line.h"
#include "config/diary_folder.h"

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

// Qt ends the program with an abort when it finds no display; the diary says so instead. A
// platform chosen by hand (QT_QPA_PLATFORM, such as offscreen) is left for Qt to check.
bool display_available() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const daybrook::CommandLine mode = daybrook::parse_command_line(arguments);
    const bool terminal = daybrook::asks_for_terminal(std::span(arguments).subspan(mode.own_folder ? 1 : 0));
    if (!terminal && !display_available()) {
        std::fprintf(stderr, "Daybrook needs a desktop to show its window, but neither DISPLAY nor WAYLAND_DISPLAY is set.\n");
        return 1;
    }
    if (mode.own_folder && !enter_own_folder()) return 1;
    // The entries live in the folder the diary is started in; without it there is no diary.
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (error) {
        std::fprintf(stderr, "Daybrook cannot tell which folder it was started in (%s), so it cannot find its entries.\n",
                     error.message().c_str());
        return 1;
    }
    if (terminal) return daybrook::run_terminal_command(argc, argv, folder);
    // Qt is given the program name alone, so that it takes none of the diary's arguments.
    int qt_argc = 1;
    char fallback_name[] = "daybrook";
    char* qt_argv[] = {argc > 0 ? argv[0] : fallback_name, nullptr};
    daybrook::TApp app(qt_argc, qt_argv, mode, folder);
    const int code = app.run();
    if (mode.auto_mode()) {
        // The glance at login leaves as soon as it has saved the settings and purged old
        // entries. It had no dialogs and no text for a clipboard manager to take over, so taking
        // its window and Qt apart would only free memory that leaving frees anyway, at a
        // fifteenth of the glance's time.
        app.close_diary();
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
