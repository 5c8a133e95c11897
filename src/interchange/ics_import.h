// The events of an iCalendar file (RFC 5545) from another calendar program, as diary entries.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/day_number.h"
#include "store/entry_files.h"

namespace daybrook {

enum class SkipReason {
    past,                  // every day of it lies before today
    beyond_diary,          // its first day from today on lies after 31/12/2050
    day_full,              // the day already holds ten entries
    already_there,         // the day holds this entry already
    blank,                 // no summary, or none with a letter, digit or sign the diary shows
    no_date,               // no start date
    unreadable_dates,      // a start, end, repeat rule or excluded date that cannot be read
    no_occurrence,         // its exclusions take out every occurrence
    cancelled,             // an event marked cancelled
    not_an_event,          // a to-do, journal entry, free/busy list or other component
    too_many,              // repeats beyond the limits of one import (ImportLimits)
    repeats_within_a_day,  // an hourly or finer repeat: only its start makes an entry
    write_failed,          // the entry file could not be written
};

// What a skip reason means, as a phrase for a message: "the day already holds ten entries".
std::string_view reason_text(SkipReason reason);

struct SkippedItem {
    std::string summary;  // the event's summary as the file gives it, on one line
    std::string date;     // "dd/mm/yyyy" of the day concerned; empty when there is none
    SkipReason reason = SkipReason::past;
};

// One line for a skipped item: `06/12/2026 "Anna's birthday": the day already holds ten entries`.
std::string describe(const SkippedItem& item);

struct ImportReport {
    std::string error;               // why the file was refused whole; empty when it was read
    std::vector<std::string> added;  // the entry files written, in order
    std::vector<SkippedItem> skipped;
};

// Bounds on the entries one import makes, so that an endless repeat or a hostile file cannot
// flood the store: what lies beyond them is skipped as too_many.
struct ImportLimits {
    // A year of a daily repeat, seven years of a weekly one, every month to the end of 2050.
    std::size_t per_event = 366;
    std::size_t per_file = 20000;
};

// Adds the events of a calendar file as entries of the days from `today` to 31/12/2050, through
// add_entry. The whole file is read before anything is written: a file libical cannot parse,
// one whose components do not close (a truncated file), one without a VCALENDAR, or one with a
// time zone whose rules no real zone has (libical would take hours over it) is refused with
// `error` set and nothing written.
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
//   occurrences moved by a RECURRENCE-ID) is expanded by libical up to 31/12/2050, one entry a
//   day at most per event, at most limits.per_event of them. Only an event without any
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
ImportReport import_ics(const StoreDir& dir, std::string_view text, DayNumber today,
                        const ImportLimits& limits = {});

}  // namespace daybrook
