// What an import of a calendar file did: the entries it added, and each item it skipped with
// the reason, as the diary reports them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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

}  // namespace daybrook
