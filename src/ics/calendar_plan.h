// What the events of an iCalendar file (RFC 5545) make in the diary, worked out without touching
// any store: the entries they plan, what they skip and why, and the repeats without end. The
// import writes a plan into the diary; the sync takes the plan of each vdir item as it stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/day_number.h"
#include "ics/import_report.h"
#include "store/entry_record.h"

namespace daybrook {

// The largest calendar file the diary reads, far more than a calendar of the fifty thousand
// entries a diary can hold: the import refuses a larger file unread, and the sync a larger item.
inline constexpr std::int64_t largest_calendar_bytes = std::int64_t{64} << 20;

// Bounds on the entries one plan makes, so that an endless repeat or a hostile file cannot
// flood the store: what lies beyond them is skipped as too_many.
struct ImportLimits {
    // A year of a daily repeat, seven years of a weekly one, every month to the end of 2050.
    std::size_t per_event = 366;
    std::size_t per_file = 20000;
    // The last day to which an event that repeats without end (no COUNT, no UNTIL) is followed;
    // without one, the same day a year from today.
    std::optional<DayNumber> until;
};

struct PlannedEntry {
    DayNumber day = 0;
    // The memo (one line, Windows-1252, at most memo_limit characters), the red-letter flag, and
    // yearly_pending for an event that repeats every year; the date and file are the writer's.
    EntryRecord record;
    std::size_t event = 0;  // its event's index in CalendarPlan::summaries
};

struct CalendarPlan {
    std::string error;  // why the file was refused whole; empty when it was read
    std::vector<PlannedEntry> entries;  // in the file's order, each event's days in order
    std::vector<std::string> summaries;  // each planned event's summary as the file gives it, on one line
    std::vector<SkippedItem> skipped;
    std::vector<OpenRepeat> open_repeats;
    std::vector<AlteredEvent> altered;  // how the entries of planned events differ from them
    // What was read differently from what the file says, each a sentence: text after the
    // calendar's end that was left aside, a time zone placed by the machine's own.
    std::vector<std::string> notes;
};

// The entries the events of `text` make on the days from `today` to 31/12/2050, by the rules of
// import_ics (ics_import.h), whatever any store holds. It takes time in proportion to the
// text's length, however long its lines.
CalendarPlan plan_calendar(std::string_view text, DayNumber today, const ImportLimits& limits = {});

}  // namespace daybrook
