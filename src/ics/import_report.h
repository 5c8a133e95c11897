// What an import of a calendar file did: the entries it added, and each item it skipped with
// the reason, as the diary reports them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/day_number.h"
#include "store/entry_batch.h"
#include "store/entry_record.h"

namespace daybrook {

enum class SkipReason {
    past,                  // every day of it lies before today
    beyond_diary,          // its first day from today on lies after 31/12/2050
    beyond_horizon,        // it repeats without end, first after the import's horizon
    day_full,              // the day already holds ten entries
    already_there,         // the day holds this entry already
    blank,                 // no summary, or none with a letter, digit or sign the diary shows
    no_date,               // no start date
    unreadable_dates,      // a start, end, repeat rule or excluded date that cannot be read
    no_occurrence,         // its exclusions take out every occurrence
    cancelled,             // an event marked cancelled
    not_an_event,          // a to-do, journal entry, free/busy list or other component
    too_many,              // repeats beyond what one event may add (ImportLimits::per_event)
    file_limit,            // beyond the most entries one import adds (ImportLimits::per_file)
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

// "dd/mm/yyyy" of a plain day, as the items of a report give their days.
std::string report_date(PlainDay day);

// One line for a skipped item: `06/12/2026 "Anna's birthday": the day already holds ten entries`.
std::string describe(const SkippedItem& item);

// An event without end whose repeats were followed only up to the import's horizon.
struct OpenRepeat {
    std::string summary;  // on one line
    std::size_t occurrences = 0;  // the days it gave from today to the horizon
    std::string until;    // "dd/mm/yyyy": the horizon, or the last entry when a limit came first
};

// One line for it: `"Choir": 53 occurrences up to 01/03/2027 (it repeats without end)`.
std::string describe(const OpenRepeat& repeat);

// How an event's entries differ from what the file says of it, beyond the rules every import
// keeps (one line, Windows-1252, the day of its start here).
enum class Alteration {
    characters_replaced,  // characters the code page lacks became '?'
    memo_cut,             // the summary was longer than a memo: it was cut to memo_limit characters
    lines_joined,         // a summary of several lines became one line
    time_dropped,         // a timed event became an entry of its day, without the time
};

// An event that made entries, and one way they differ from it; an event altered in several ways
// is named once for each.
struct AlteredEvent {
    std::string summary;  // on one line
    Alteration alteration = Alteration::characters_replaced;
};

// What the alteration did to the event's entries, as a phrase: "its time of day was dropped".
std::string_view alteration_text(Alteration alteration);

// One line for it: `"Team meeting": its time of day was dropped`.
std::string describe(const AlteredEvent& event);

// One line that counts them by kind: "2 events lost their time of day; 1 event had characters
// the diary cannot hold shown as ?". Empty when there are none.
std::string altered_summary(const std::vector<AlteredEvent>& altered);

// An entry file the import wrote (or, in a trial run, would write), with its bytes.
using AddedFile = EntryFile;

struct [[nodiscard]] ImportReport {
    std::string error;                // why the file was refused whole; empty when it was read
    std::string write_error;          // why an entry could not be written; empty when all were
    std::vector<AddedFile> added;     // in order
    std::vector<SkippedItem> skipped;
    std::vector<OpenRepeat> open_repeats;
    std::vector<AlteredEvent> altered;  // in the file's order
    // What was read differently from what the file says, each a sentence: text after the
    // calendar's end that was left aside, a time zone placed by the machine's own.
    std::vector<std::string> notes;

    // Whether every event was added or skipped for a reason that is no failure.
    bool succeeded() const { return error.empty() && write_error.empty(); }
};

}  // namespace daybrook
