// The command line: "-a" with one or two numbers starts the diary in auto mode, which shows the
// week for a while and closes itself; anything else starts it normally. Nothing on the command
// line is ever refused.
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

    bool auto_mode() const noexcept { return display_seconds != -1; }
};

// Reads the arguments after the program name.
CommandLine parse_command_line(std::span<const std::string_view> arguments);

}  // namespace daybrook
