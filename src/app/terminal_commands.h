// The commands that print and end without a window (over ssh, in a shell prompt, in a status bar):
// the coming days' entries, a search, iCalendar export and import, help and version. They never
// purge or renew anything, and they need no display.
#pragma once

#include <filesystem>
#include <span>
#include <string_view>

namespace daybrook {

// Whether the arguments (those after --own-folder) ask for one of these commands: they start
// with one of its long options. Any other command line starts the window as it always has.
bool asks_for_terminal(std::span<const std::string_view> arguments);

// Runs the command on the entries in `folder` and returns the exit code: 0 when done, 1 when it
// failed, 2 for a command line it cannot take.
int run_terminal_command(int argc, char** argv, const std::filesystem::path& folder);

}  // namespace daybrook
