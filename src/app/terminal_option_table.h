// The options of the terminal commands, in one table: the parser, the help text, the test of
// whether a command line asks for a terminal command and the manual page's list of options all
// read it, so that a new option is one line here (and, for a new command, one line in the command
// table of terminal_commands.cpp). Without Qt, so that the program of the build that writes the
// manual page's list compiles it alone.
#pragma once

#include <array>
#include <string_view>

namespace daybrook {

struct TerminalOption {
    std::string_view name;         // the long name, without "--"
    char letter = '\0';            // the short name, or none
    std::string_view value_name;   // the value it takes, or empty for a switch
    std::string_view description;  // one line of the help and of the manual page
    // The commands an option that is no command of its own goes with, by their names and
    // separated by spaces; empty for a command (and for the folder options, which any takes).
    std::string_view goes_with = {};
};

// The folder options are taken out of the command line before the parser sees it (see
// config/command_line.h); they are here so that the help and the manual page list them.
inline constexpr std::array terminal_options = {
    TerminalOption{"list", '\0', "", "Print the entries of DAYS days from today, or from --from (7 unless given)."},
    TerminalOption{"from", '\0', "DATE", "With --list: start on DATE instead of today (a date as --add takes it).", "list"},
    TerminalOption{"search", '\0', "WORD", "Print every entry whose memo holds WORD."},
    TerminalOption{"case-sensitive", '\0', "", "Let letter case count in --search.", "search"},
    TerminalOption{"json", '\0', "", "Print the entries as a JSON array.", "list search add"},
    TerminalOption{"add", '\0', "DATE",
                   "Add the entry MEMO on DATE: dd/mm/yy, dd/mm/yyyy, yyyy-mm-dd, today, tomorrow, a day name "
                   "(the next such day, today included) or a number of days ahead (0 for today)."},
    TerminalOption{"red-letter", '\0', "", "Make the entry of --add a red-letter day.", "add"},
    TerminalOption{"yearly", '\0', "", "Repeat the entry of --add every year (a dated entry only).", "add"},
    TerminalOption{"export-ics", '\0', "FILE", "Write every entry to FILE (- for standard output) as iCalendar."},
    TerminalOption{"import-ics", '\0', "FILE", "Add the events of the iCalendar FILE (- for standard input) as entries."},
    TerminalOption{"sync", '\0', "DIR", "Bring the diary and the calendar folder DIR (a vdir) in step, both ways."},
    TerminalOption{"accept-removals", '\0', "",
                   "With --sync: remove what the other side removed even when that is most of what the last "
                   "sync saw (held back otherwise, as a wiped or wrongly mounted folder does).",
                   "sync"},
    TerminalOption{"until", '\0', "DATE",
                   "With --import-ics: follow events that repeat without end up to DATE (dd/mm/yy; a year "
                   "from today unless given).",
                   "import-ics"},
    TerminalOption{"dry-run", '\0', "", "With --import-ics: say what would be added, and write nothing.", "import-ics"},
    TerminalOption{"verbose", '\0', "",
                   "With --import-ics or --sync: name every event that is in the diary already or whose entries "
                   "differ from it, besides counting them.",
                   "import-ics sync"},
    TerminalOption{"undo-import", '\0', "", "Move the entries the last import added to the trash, unless they changed since."},
    TerminalOption{"folder", '\0', "DIR",
                   "Work on the diary in DIR (. for the current folder) instead of the diary's own folder."},
    TerminalOption{"own-folder", '\0', "",
                   "Work on the diary's own folder, $XDG_DATA_HOME/daybrook (normally ~/.local/share/daybrook); "
                   "the default."},
    TerminalOption{"help", 'h', "", "Print the options and what they do."},
    TerminalOption{"version", 'v', "", "Print the version."},
};

}  // namespace daybrook
