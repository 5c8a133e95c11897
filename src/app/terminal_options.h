// The options of the terminal commands, in one table: the parser, the help text and the test of
// whether a command line asks for a terminal command all read it, so that a new option is one
// line here (and, for a new command, one line in the command table of terminal_commands.cpp).
#pragma once

#include <QCommandLineParser>

#include <array>
#include <span>
#include <string_view>

namespace daybrook {

struct TerminalOption {
    std::string_view name;         // the long name, without "--"
    char letter = '\0';            // the short name, or none
    std::string_view value_name;   // the value it takes, or empty for a switch
    std::string_view description;  // one line of the help
};

// The folder options are taken out of the command line before the parser sees it (see
// config/command_line.h); they are here so that the help lists them.
inline constexpr std::array terminal_options = {
    TerminalOption{"list", '\0', "", "Print the entries of DAYS days from today (7 unless given)."},
    TerminalOption{"search", '\0', "WORD", "Print every entry whose memo holds WORD."},
    TerminalOption{"case-sensitive", '\0', "", "Let letter case count in --search."},
    TerminalOption{"json", '\0', "", "Print the entries as a JSON array."},
    TerminalOption{"add", '\0', "DATE",
                   "Add the entry MEMO on DATE: dd/mm/yy, a day name (the next such day, today "
                   "included) or a number of days ahead."},
    TerminalOption{"red-letter", '\0', "", "Make the entry of --add a red-letter day."},
    TerminalOption{"yearly", '\0', "", "Repeat the entry of --add every year (a dd/mm/yy date only)."},
    TerminalOption{"export-ics", '\0', "FILE", "Write every entry to FILE (- for standard output) as iCalendar."},
    TerminalOption{"import-ics", '\0', "FILE", "Add the events of the iCalendar FILE (- for standard input) as entries."},
    TerminalOption{"sync", '\0', "DIR", "Bring the diary and the calendar folder DIR (a vdir) in step, both ways."},
    TerminalOption{"accept-removals", '\0', "",
                   "With --sync: remove what the other side removed even when that is most of what the last "
                   "sync saw (held back otherwise, as a wiped or wrongly mounted folder does)."},
    TerminalOption{"until", '\0', "DATE",
                   "With --import-ics: follow events that repeat without end up to DATE (dd/mm/yy; a year "
                   "from today unless given)."},
    TerminalOption{"dry-run", '\0', "", "With --import-ics: say what would be added, and write nothing."},
    TerminalOption{"undo-import", '\0', "", "Move the entries the last import added to the trash, unless they changed since."},
    TerminalOption{"folder", '\0', "DIR",
                   "Work on the diary in DIR (. for the current folder) instead of the diary's own folder."},
    TerminalOption{"own-folder", '\0', "", "Work on the diary's own folder, ~/.local/share/daybrook (the default)."},
    TerminalOption{"help", 'h', "", "Print this help."},
    TerminalOption{"version", 'v', "", "Print the version."},
};

// Whether the arguments (the folder options taken out) ask for a terminal command: they start
// with one of its options, in the long form or the short one, with or without "=value". Any
// other command line starts the window.
bool asks_for_terminal(std::span<const std::string_view> arguments);

// Whether the arguments ask for a run that writes nothing (--dry-run before any "--").
bool asks_for_dry_run(std::span<const std::string_view> arguments);

// Gives the parser every option of the table and the words after them.
void add_terminal_options(QCommandLineParser& parser);

}  // namespace daybrook
