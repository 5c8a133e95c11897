// What an event's date properties tell the planner, read through libical: whether they can be
// read, whether its repeats go on without end or within a day, which occurrences are taken out
// of them, and whether it repeats every year and nothing else, as a yearly entry does.
#pragma once

#include <libical/ical.h>

#include <cstdint>
#include <set>

#include "calendar/day_number.h"

namespace daybrook {

// Whether libical reported a value it could not read in one of the properties that set an
// event's days; it drops such a property, which would silently make a repeating event a
// single one or move its end.
bool has_unreadable_dates(icalcomponent* event);

// Repeats within a day are not followed: the diary keeps days, and libical's iterator can search
// without end for an hourly or finer rule whose parts never match (BYMONTH=2;BYMONTHDAY=30).
bool repeats_within_a_day(const icalrecurrencetype& rule);

// Whether one of the event's rules repeats without end, so that its occurrences stop at the
// import's horizon. A yearly rule gives few entries to the end of the diary (one that is not one
// yearly entry: 29 February, or several days a year), so it is followed to the end.
bool stops_at_horizon(icalcomponent* event);

// The occurrences a RECURRENCE-ID or EXDATE takes out of an event's repeats. A date takes out
// every occurrence of its date; a date-time the occurrence at that moment, or for an all-day
// event the occurrence of its date.
struct Exclusions {
    std::set<PlainDay> dates;
    std::set<PlainDay> timed_dates;
    std::set<std::int64_t> instants;

    void add(const icaltimetype& time);
    bool empty() const { return dates.empty() && instants.empty(); }
    bool cover(const icaltimetype& time) const;
};

// Whether the event repeats once a year on its start's month and day without end, exceptions or
// moved occurrences, and none of its `span` days from `start` is 29 February: what the diary's
// yearly entry carries over year by year.
bool every_year_only(icalcomponent* event, const icaltimetype& start, PlainDay span, const Exclusions& exclusions);

}  // namespace daybrook
