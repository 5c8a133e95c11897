// The terminal's import of a calendar file and its undo: read the file, hold the store's lock,
// run the import (or a trial of it), keep the record for the undo, and print the report.
#pragma once

#include <QString>

#include <optional>

#include "calendar/day_number.h"
#include "interchange/ics_module.h"
#include "store/entry_files.h"

namespace daybrook {

struct ImportRequest {
    QString source;                 // a file, or "-" for standard input
    std::optional<DayNumber> until; // the last day endless repeats are followed to
    bool dry_run = false;           // report what would be added, and write nothing
};

// Prints the report and returns the exit code: 0 when every event was added or skipped for a
// reason that is no failure, 1 when the file was refused or an entry could not be written.
int import_calendar(const IcsModule& ics, const StoreDir& store, const ImportRequest& request, DayNumber today);

// Takes back the last import (moving its entries to the trash) and says what it removed and left.
int undo_last_import(const StoreDir& store);

// The day of an --until text "dd/mm/yy" from today on, or why it cannot be one.
std::optional<DayNumber> until_day(const QString& text, DayNumber today, QString& why);

}  // namespace daybrook
