// Daybrook: a small personal diary for the desktop.

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "config/command_line.h"
#include "app/t_app.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const daybrook::CommandLine mode = daybrook::parse_command_line(arguments);
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
