// The command line. "--folder DIR" (or "--folder=DIR"), anywhere on it, names the folder the diary
// works on; without it the diary works on its own folder (see config/diary_folder.h), which
// "--own-folder" names too, for the launchers that still pass it. With those taken out, the rest
// decides what runs: "-a" with one or two numbers starts the diary in auto mode, which shows the
// week for a while and closes itself; the terminal commands have their own options; anything
// else starts the normal window. Nothing but a folder option without its folder is ever refused.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace daybrook {

struct CommandLine {
    // -1 selects normal mode; any other value auto mode, closing after that many seconds when
    // it is above 0.
    int display_seconds = -1;
    // In auto mode with an entry today: the seconds to stay open instead, counted from the
    // first week page.
    int display_seconds_today = 0;

    bool auto_mode() const noexcept { return display_seconds != -1; }
};

// The arguments after the program name, with the folder options taken out.
struct FolderArguments {
    // The folder of the last "--folder", as typed; nothing for the diary's own folder (no
    // "--folder", or an "--own-folder" after the last one).
    std::optional<std::string> folder;
    // Every other argument, in order.
    std::vector<std::string_view> rest;
};

// A command line the diary cannot take, in words for the one line it prints.
struct CommandLineProblem {
    std::string message;
};

// Takes the folder options out of the arguments after the program name. They count anywhere
// before a "--", which ends the options; from there on every argument is left as it is. A
// "--folder" without a folder after it, or with an empty one, is the problem.
std::variant<FolderArguments, CommandLineProblem> take_folder_options(std::span<const std::string_view> arguments);

// Reads the mode from the arguments that are left once the folder options are out.
CommandLine parse_command_line(std::span<const std::string_view> arguments);

}  // namespace daybrook
