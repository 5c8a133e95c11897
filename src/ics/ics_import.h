// The events of an iCalendar file (RFC 5545) from another calendar program, as diary entries.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "calendar/day_number.h"
#include "ics/calendar_plan.h"
#include "ics/import_report.h"
#include "store/entry_files.h"

namespace daybrook {

// An import writes its entries; a trial works out the same report and writes nothing.
enum class ImportMode { write, trial };

// Adds the events of a calendar file as entries of the days from `today` to 31/12/2050, through
// add_entry. The whole file is read before anything is written: a file libical cannot parse,
// one whose components do not close (a truncated file), one nested deeper than any calendar,
// or one without a VCALENDAR is refused with `error` set and nothing written. Text after the
// last calendar's end is left aside, with a note.
//
// - The file's own time zones (VTIMEZONE) place its times, whatever their names. A zone whose
//   rules no real zone has (libical would take hours over it) is not used: the times given in
//   it count as times of this machine, with a note, and the rest of the file is read as usual.
//
// - An event's day is the day of its start in local time: an all-day event and a floating time
//   as written, a UTC time or one of a time zone converted to the zone of this machine, since
//   that is the day the user meets it (a call at 20:00 in California is tomorrow morning here).
// - An all-day event over several days makes an entry for every day, from today on, the way the
//   diary's own daily repeats show a stretch of days; a timed event only its start's day, since
//   an appointment is due when it begins.
// - An event repeating every year and nothing else (FREQ=YEARLY, once a year on its start's
//   month and day, without end, exceptions or moved occurrences) becomes one yearly entry, on
//   its next occurrence from today on, which the diary carries over year by year; on 29 February
//   it cannot, and is expanded as below.
// - Every other repeat (weekly, daily, monthly, with an interval, count or end, RDATE, EXDATE,
//   occurrences moved by a RECURRENCE-ID) is expanded by libical, one entry a day at most per
//   event, at most limits.per_event of them and limits.per_file for the file: up to 31/12/2050
//   when the event's repeats end, up to limits.until when one of its rules goes on without end
//   ("every Wednesday"), which the report's open_repeats then tell. Only an event without any
//   occurrence from today on is reported as past; its earlier occurrences are not reported.
//   Repeats within a day (hourly and finer) are not followed: their start makes the entry.
// - The summary becomes the memo: one line, Windows-1252 (see utf8_to_windows_1252; '?' for
//   what it cannot hold), cut to memo_limit characters. A summary that holds nothing the diary
//   counts as meaningful, replaced characters aside, is skipped as blank. The category
//   red_letter_category makes a red-letter entry.
// - An entry already on its day with the same memo and flags stands for one entry of the file
//   alike, which is then not added: importing a file twice adds nothing the second time, even
//   where the file holds the same entry twice on one day.
// - Cancelled events and components that are no events are skipped, each with its reason.
// - The entries are written as one batch (entry_batch.h), and the import's record
//   (import_undo.h) names them before any takes its name, so that the undo takes back whatever
//   an import stopped at any point wrote, and never the entries of an earlier import. An import
//   that adds nothing leaves the record of the last one as it is.
// - An entry that cannot be written is skipped, and report.write_error tells why; so is every
//   entry when the record that names them cannot be written.
ImportReport import_ics(const StoreDir& dir, std::string_view text, DayNumber today,
                        const ImportLimits& limits = {}, ImportMode mode = ImportMode::write);

}  // namespace daybrook
