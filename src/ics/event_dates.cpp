#include "ics/event_dates.h"

#include <string_view>

#include "calendar/text_helpers.h"
#include "ics/ical_values.h"
#include "ics/time_zones.h"

namespace daybrook {
namespace {

// Whether a repeat rule goes on without a count or an end.
bool endless(const icalrecurrencetype& rule) { return rule.count == 0 && icaltime_is_null_time(rule.until); }

// Whether the rule is FREQ=YEARLY without end and without parts other than the start's own
// month and day.
bool plain_yearly(const icalrecurrencetype& rule, const icaltimetype& start) {
    if (rule.freq != ICAL_YEARLY_RECURRENCE || rule.interval > 1 || !endless(rule)) return false;
    if (rule.rscale && ascii_lower(rule.rscale) != "gregorian") return false;
    if (!empty_list(rule.by_second) || !empty_list(rule.by_minute) || !empty_list(rule.by_hour) ||
        !empty_list(rule.by_day) || !empty_list(rule.by_year_day) || !empty_list(rule.by_week_no) ||
        !empty_list(rule.by_set_pos))
        return false;
    if (!empty_list(rule.by_month) && !holds_only(rule.by_month, start.month)) return false;
    return empty_list(rule.by_month_day) || holds_only(rule.by_month_day, start.day);
}

}  // namespace

bool has_unreadable_dates(icalcomponent* event) {
    static constexpr std::string_view date_properties[] = {
        " DTSTART ", " DTEND ", " DURATION ", " RRULE ", " RDATE ", " EXDATE ", " RECURRENCE-ID "};
    for (icalproperty* error = icalcomponent_get_first_property(event, ICAL_XLICERROR_PROPERTY); error;
         error = icalcomponent_get_next_property(event, ICAL_XLICERROR_PROPERTY)) {
        const char* message = icalproperty_get_xlicerror(error);
        if (!message) continue;
        const std::string_view text = message;
        for (std::string_view property : date_properties)
            if (text.find(property) != std::string_view::npos) return true;
    }
    return false;
}

bool repeats_within_a_day(const icalrecurrencetype& rule) {
    return rule.freq == ICAL_SECONDLY_RECURRENCE || rule.freq == ICAL_MINUTELY_RECURRENCE ||
           rule.freq == ICAL_HOURLY_RECURRENCE;
}

bool stops_at_horizon(icalcomponent* event) {
    for (icalproperty* property = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); property;
         property = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype rule = icalproperty_get_rrule(property);
        if (endless(rule) && !repeats_within_a_day(rule) && rule.freq != ICAL_YEARLY_RECURRENCE) return true;
    }
    return false;
}

void Exclusions::add(const icaltimetype& time) {
    if (icaltime_is_null_time(time)) return;
    if (time.is_date) {
        dates.insert(day_as_written(time));
    } else {
        timed_dates.insert(day_as_written(time));
        instants.insert(instant_of(time));
    }
}

bool Exclusions::cover(const icaltimetype& time) const {
    const PlainDay day = day_as_written(time);
    if (dates.contains(day)) return true;
    return time.is_date ? timed_dates.contains(day) : instants.contains(instant_of(time));
}

bool every_year_only(icalcomponent* event, const icaltimetype& start, PlainDay span, const Exclusions& exclusions) {
    icalproperty* first = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    if (!first || icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) return false;
    if (icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY) || !exclusions.empty()) return false;
    if (icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) return false;
    if (!plain_yearly(icalproperty_get_rrule(first), start)) return false;
    // The diary cannot carry 29 February over to a year without it, nor repeat a stretch that
    // overlaps itself.
    if (span >= 365) return false;
    const PlainDay first_day = local_day(start);
    for (PlainDay day = first_day; day < first_day + span; ++day) {
        const CalendarDate date = plain_day_to_calendar(day);
        if (date.month == 2 && date.day == 29) return false;
    }
    return true;
}

}  // namespace daybrook
