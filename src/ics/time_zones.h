// The time zones of a calendar file and the days its times fall on here. A file brings its own
// zones (VTIMEZONE); libical works out from their rules every change of offset up to the year it
// converts, so a zone whose rules or offsets no real zone has is taken out before libical uses
// it, and the times given in it count as times of this machine.
#pragma once

#include <libical/ical.h>

#include <cstdint>
#include <set>
#include <string>

#include "calendar/day_number.h"

namespace daybrook {

// Takes the calendar's time zones that cannot be used out of it, so that libical never works
// with them, and returns their names (TZID): a zone whose rules libical would take hours over
// (one changing daily or by the minute, on a day its month lacks, or with hundreds of rules or
// dates), or whose offset no place has (more than 18 hours from UTC), which would move its
// events by days.
std::set<std::string> drop_unusable_zones(icalcomponent* calendar);

// The day a time gives as written, whatever its zone.
PlainDay day_as_written(const icaltimetype& time);

// The moment a time stands for; a floating time counts as UTC, the same for every floating time.
std::int64_t instant_of(const icaltimetype& time);

// The day a time falls on here: a date and a floating time as written, a UTC time and a time of
// a zone in the local time of this machine (as TZ gives it when tzset() last ran).
PlainDay local_day(const icaltimetype& time);

}  // namespace daybrook
