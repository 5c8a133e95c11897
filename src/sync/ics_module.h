// The iCalendar import and export as a module of their own, which the program opens only for the
// commands that read or write calendar files and sync with a calendar folder: libical, which they need, then stays out of every
// start of the diary's window.
#pragma once

#include "ics/ics_export.h"
#include "ics/ics_import.h"
#include "sync/sync_run.h"

namespace daybrook {

struct IcsModule {
    decltype(&import_ics) import_calendar;
    decltype(&export_ics) export_calendar;
    decltype(&sync_vdir) sync_calendar_folder;
};

// The module's file, and the name under which it exports its one IcsModule.
inline constexpr char ics_module_file[] = "daybrook-ics.so";
inline constexpr char ics_module_symbol[] = "daybrook_ics_module";

}  // namespace daybrook
