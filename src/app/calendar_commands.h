// --export-ics and --import-ics: the diary as an iCalendar file and back, through the iCalendar
// module, which only these two commands load. FILE is taken from the folder the command is typed
// in; "-" is standard output or input.
#pragma once

#include "app/terminal_run.h"

namespace daybrook {

// Writes every entry to the file through a temporary one, so that a failed write leaves the old
// file. Entries that could not be read are named, and make it fail.
TerminalStatus export_calendar_command(const QCommandLineParser& parser, const TerminalRun& run);

// Adds the file's events and says what it skipped and why. It holds the store's lock, so that two
// imports at once do not both add the same entry.
TerminalStatus import_calendar_command(const QCommandLineParser& parser, const TerminalRun& run);

}  // namespace daybrook
