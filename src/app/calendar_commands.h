// --export-ics and --import-ics: the diary as an iCalendar file and back, through the iCalendar
// module, which only these two commands load; and --undo-import, which takes the last import back. FILE is taken from the folder the command is typed
// in; "-" is standard output or input.
#pragma once

#include "app/terminal_run.h"

namespace daybrook {

// Writes every entry to the file through a temporary one, so that a failed write leaves the old
// file. Entries that could not be read are named, and make it fail.
TerminalStatus export_calendar_command(const QCommandLineParser& parser, const TerminalRun& run);

// Adds the file's events and says what it skipped and why, how far endless repeats went (to
// --until, a year from today unless given) and what it read otherwise than the file says. It
// holds the store's lock, so that two imports at once do not both add the same entry, and keeps
// the record of what it added for --undo-import. With --dry-run it says the same and writes
// nothing. Fails when the file is refused or an entry could not be written.
TerminalStatus import_calendar_command(const QCommandLineParser& parser, const TerminalRun& run);

// Moves the entries the last import added to the trash, unless they changed since, and says what
// it removed and what it left.
TerminalStatus undo_import_command(const QCommandLineParser& parser, const TerminalRun& run);

}  // namespace daybrook
