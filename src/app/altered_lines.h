// How the import and the sync tell the user that entries differ from their events: one line
// counting them by kind, or with --verbose one line for each.
#pragma once

#include <vector>

#include "app/terminal_run.h"
#include "ics/import_report.h"

namespace daybrook {

void print_altered(const std::vector<AlteredEvent>& altered, bool verbose, const TerminalRun& run);

}  // namespace daybrook
