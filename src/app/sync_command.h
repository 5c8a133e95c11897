// --sync DIR: brings the diary and the vdir DIR in step, both ways, and says what it did in one
// line. It needs no display, holds the store's lock as a close does, and loads the iCalendar
// module. DIR is taken from the folder the command is typed in.
#pragma once

#include "app/terminal_run.h"

namespace daybrook {

// Fails (status 1) when the sync was refused or some file could not be read, written or removed,
// each named on standard error.
TerminalStatus sync_command(const QCommandLineParser& parser, const TerminalRun& run);

}  // namespace daybrook
