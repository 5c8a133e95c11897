// What the parser and main() make of the options of the terminal commands, whose table is in
// app/terminal_option_table.h.
#pragma once

#include <QCommandLineParser>

#include <optional>
#include <span>
#include <string_view>

#include "app/terminal_option_table.h"

namespace daybrook {

// Whether the arguments (the folder options taken out) ask for a terminal command: they start
// with one of its options, in the long form or the short one, with or without "=value". Any
// other command line starts the window.
bool asks_for_terminal(std::span<const std::string_view> arguments);

// Whether the arguments ask for a run that writes nothing (--dry-run before any "--").
bool asks_for_dry_run(std::span<const std::string_view> arguments);

// Gives the parser every option of the table and the words after them.
void add_terminal_options(QCommandLineParser& parser);

// Whether the option goes with the command; a command goes with itself alone.
bool goes_with(const TerminalOption& option, std::string_view command);

// The first word before a "--" that looks like a long option ("--word"): for a command line that
// asks for no terminal command, where it can only be a mistyped or misplaced option.
std::optional<std::string_view> stray_option(std::span<const std::string_view> arguments);

// How the program is started, for a command line it cannot take.
inline constexpr std::string_view usage_line =
    "Usage: daybrook [--folder DIR] [-a SECONDS [SECONDS]], or daybrook [--folder DIR] OPTION... "
    "(daybrook --help lists the options)";

}  // namespace daybrook
