// The command line: "-a" with one or two numbers starts the diary in auto mode, which shows the
// week for a while and closes itself; anything else starts it normally. "--own-folder" before
// all that makes the diary work in its own folder (see config/diary_folder.h) instead of the one
// it is started in. Nothing on the command line is ever refused.
#pragma once

#include <span>
#include <string_view>

namespace daybrook {

struct CommandLine {
    // -1 selects normal mode; any other value auto mode, closing after that many seconds when
    // it is above 0.
    int display_seconds = -1;
    // In auto mode with an entry today: the seconds to stay open instead, counted from the
    // first week page.
    int display_seconds_today = 0;
    // Whether to make and enter the diary's own folder before anything else.
    bool own_folder = false;

    bool auto_mode() const noexcept { return display_seconds != -1; }
};

// Reads the arguments after the program name. "--own-folder" counts only as the first argument,
// and the rest are then read as if it were not there.
CommandLine parse_command_line(std::span<const std::string_view> arguments);

}  // namespace daybrook
