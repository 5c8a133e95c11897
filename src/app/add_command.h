// --add DATE MEMO [--red-letter] [--yearly]: one entry from the terminal, by New Entry's rules and
// with its messages. DATE is "dd/mm/yy", a day name (the next such day, today included: the first
// date New Entry offers) or a number of days ahead; only a "dd/mm/yy" date can repeat every year.
// A refusal prints the message and writes nothing; the entry made is printed as --list prints it.
#pragma once

#include "app/terminal_run.h"

namespace daybrook {

TerminalStatus add_entry_command(const QCommandLineParser& parser, const TerminalRun& run);

}  // namespace daybrook
