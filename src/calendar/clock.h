// The clock interface: everything that asks for the time goes through it, so tests can set it.
#pragma once

#include "calendar/day_number.h"

namespace daybrook {

// A local date and time broken down as the diary needs it.
struct LocalTime {
    int year = 1970;  // full year
    int month = 1;    // [1, 12]
    int day = 1;      // [1, 31]
    int hour = 0;     // [0, 23]
    int minute = 0;   // [0, 59]
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
};

// Reads the system clock and the local time zone.
class SystemClock final : public Clock {
public:
    LocalTime now() const override;
};

// The day number of the clock's local date.
DayNumber today_from(const Clock& clock);

}  // namespace daybrook
