#include "calendar/clock.h"

#include <ctime>

namespace daybrook {

LocalTime SystemClock::now() const {
    const std::time_t seconds = std::time(nullptr);
    // Read the time zone again, so a changed TZ or zone file shows at the next minute.
    tzset();
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) return LocalTime{};
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

DayNumber today_from(const Clock& clock) {
    const LocalTime time = clock.now();
    return day_number_of(time.day, time.month, time.year - 1900);
}

}  // namespace daybrook
