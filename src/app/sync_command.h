// `daybrook --sync DIR`: brings the diary and the vdir DIR in step, both ways, and says what it
// did in one line. It needs no display, and holds the store's lock as a close does.
#pragma once

#include <QString>

#include "calendar/day_number.h"
#include "interchange/ics_module.h"
#include "store/entry_files.h"

namespace daybrook {

// Returns the exit code: 0 when everything was brought in step, 1 when the sync was refused or
// some file could not be read, written or removed (named on standard error).
int sync_command(const IcsModule& ics, const StoreDir& store, const QString& vdir, DayNumber today);

}  // namespace daybrook
