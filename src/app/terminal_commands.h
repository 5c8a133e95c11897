// The commands that print and end without a window (over ssh, in a shell prompt, in a status bar):
// the coming days' entries, a search, adding an entry, iCalendar export and import, help and
// version. They never purge or renew anything, and they need no display. File names on their
// command line are taken from the folder the command is typed in, never from the diary's folder.
#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

#include <optional>
#include <span>
#include <string_view>

#include "app/terminal_run.h"

namespace daybrook {

// The name of the command a parsed command line asks for ("list" when it names none), or
// nothing after saying on `err` why the line cannot be taken: two commands, an option that does
// not go with the command or is given twice, words the command does not take.
std::optional<std::string_view> chosen_command_name(const QCommandLineParser& parser, QTextStream& err);

// Runs the command that the arguments (after the program name, with the folder options taken
// out) ask for. At most one command is given; without one it lists the coming week. Needs a
// running QCoreApplication, whose name and version the help and --version print.
TerminalStatus run_terminal_command(const QStringList& arguments, const TerminalRun& run);

// The same as the program runs it: in an application of its own, on the system clock, the
// settings file of this environment, standard output and standard error. Returns the exit code.
int run_terminal_program(char* program, std::span<const std::string_view> arguments, const StoreDir& folder);

}  // namespace daybrook
