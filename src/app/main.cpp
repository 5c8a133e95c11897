// Daybrook: a small personal diary for the desktop.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "app/t_app.h"
#include "app/terminal_commands.h"
#include "app/terminal_options.h"
#include "config/command_line.h"
#include "config/diary_folder.h"

namespace {

// The folder the diary works on, or nothing after one line on standard error. The process stays
// in the folder it was started in, where the file names typed after the options belong.
std::optional<std::filesystem::path> diary_folder(const std::optional<std::string>& given, daybrook::OwnFolder own) {
    auto found = daybrook::find_diary_folder(given, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), own);
    if (const auto* folder = std::get_if<std::filesystem::path>(&found)) return *folder;
    const std::string& reason = std::get<daybrook::FolderProblem>(found).reason;
    if (given)
        std::fprintf(stderr, "Daybrook cannot work in the folder %s (%s).\n", given->c_str(), reason.c_str());
    else
        std::fprintf(stderr, "Daybrook cannot make its diary folder (%s), so it cannot keep its entries.\n",
                     reason.c_str());
    return std::nullopt;
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

// Runs the window, or in auto mode the glance at login, on the diary in `folder`.
int run_window(char* program, daybrook::CommandLine mode, const std::filesystem::path& folder) {
    // Qt is given the program name alone, so that it takes none of the diary's arguments.
    int qt_argc = 1;
    char* qt_argv[] = {program, nullptr};
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

int run_program(int argc, char** argv) {
    char fallback_name[] = "daybrook";
    char* program = argc > 0 ? argv[0] : fallback_name;
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const auto split = daybrook::take_folder_options(arguments);
    if (const auto* problem = std::get_if<daybrook::CommandLineProblem>(&split)) {
        std::fprintf(stderr, "Daybrook: %s.\n", problem->message.c_str());
        return 2;
    }
    const daybrook::FolderArguments& given = std::get<daybrook::FolderArguments>(split);
    const bool terminal = daybrook::asks_for_terminal(given.rest);
    if (const auto stray = daybrook::stray_option(given.rest); !terminal && stray) {
        std::fprintf(stderr, "Daybrook does not know the option %.*s here.\n%.*s\n", int(stray->size()), stray->data(),
                     int(daybrook::usage_line.size()), daybrook::usage_line.data());
        return 2;
    }
    if (!terminal && !display_available()) {
        std::fprintf(stderr, "Daybrook needs a desktop to show its window, but neither DISPLAY nor WAYLAND_DISPLAY is set.\n");
        return 1;
    }
    // A dry run writes nothing, not even the diary's own folder.
    const bool dry_run = terminal && daybrook::asks_for_dry_run(given.rest);
    const std::optional<std::filesystem::path> folder =
        diary_folder(given.folder, dry_run ? daybrook::OwnFolder::leave : daybrook::OwnFolder::make);
    if (!folder) return 1;
    if (terminal) return daybrook::run_terminal_program(program, given.rest, *folder);
    return run_window(program, daybrook::parse_command_line(given.rest), *folder);
}

}  // namespace

// An exception that nothing else caught ends the program with a sentence, not with an abort.
int main(int argc, char** argv) {
    try {
        return run_program(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Daybrook stopped: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "Daybrook stopped: an unknown error\n");
    }
    return 1;
}
