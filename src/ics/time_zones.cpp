#include "ics/time_zones.h"

#include <cstdlib>
#include <ctime>
#include <vector>

#include "ics/ical_values.h"
#include "ics/ics_terms.h"

namespace daybrook {
namespace {

// Whether a rule of a time zone has the shape of the rules real zones use: yearly, in one month,
// on one weekday or on up to seven days of that month that every year has ("the last Sunday of
// March", "the Sunday from the 8th to the 14th"), or on its start's date each year, at one time
// of the day (some programs name it by BYHOUR and BYMINUTE). libical turns a zone's rules into
// every change of offset from the zone's start to the year it converts, and takes hours for a
// rule that changes daily or by the minute, or that names a day its month lacks.
bool zone_rule_fits(const icalrecurrencetype& rule) {
    if (rule.freq != ICAL_YEARLY_RECURRENCE || rule.rscale ||
        list_size(rule.by_second, ICAL_BY_SECOND_SIZE) > 1 || list_size(rule.by_minute, ICAL_BY_MINUTE_SIZE) > 1 ||
        list_size(rule.by_hour, ICAL_BY_HOUR_SIZE) > 1 || !empty_list(rule.by_year_day) ||
        !empty_list(rule.by_week_no) || !empty_list(rule.by_set_pos))
        return false;
    if (empty_list(rule.by_month)) return empty_list(rule.by_day) && empty_list(rule.by_month_day);
    if (list_size(rule.by_month, ICAL_BY_MONTH_SIZE) != 1 || icalrecurrencetype_month_is_leap(rule.by_month[0]))
        return false;
    const int month = icalrecurrencetype_month_month(rule.by_month[0]);
    if (month < 1 || month > 12 || list_size(rule.by_day, ICAL_BY_DAY_SIZE) > 1) return false;
    const std::size_t days = list_size(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    if (days > 7) return false;
    const int length = month_length(month, 1);  // 28 for February: every year has those days
    for (std::size_t i = 0; i < days; ++i)
        if (rule.by_month_day[i] == 0 || std::abs(rule.by_month_day[i]) > length) return false;
    return true;
}

// Whether an offset from UTC, in seconds, is one a place can have: real zones lie within 14
// hours of UTC, and none will lie beyond 18. A larger one (+9900) would move events by days.
bool offset_possible(int offset) {
    constexpr int largest_offset = 18 * 60 * 60;
    return offset >= -largest_offset && offset <= largest_offset;
}

bool offsets_possible(icalcomponent* part) {
    for (icalproperty* property = icalcomponent_get_first_property(part, ICAL_TZOFFSETTO_PROPERTY); property;
         property = icalcomponent_get_next_property(part, ICAL_TZOFFSETTO_PROPERTY))
        if (!offset_possible(icalproperty_get_tzoffsetto(property))) return false;
    for (icalproperty* property = icalcomponent_get_first_property(part, ICAL_TZOFFSETFROM_PROPERTY); property;
         property = icalcomponent_get_next_property(part, ICAL_TZOFFSETFROM_PROPERTY))
        if (!offset_possible(icalproperty_get_tzoffsetfrom(property))) return false;
    return true;
}

// Whether libical can use a time zone of the calendar in reasonable time and place its times
// where they belong: besides the shape of each rule and its offsets, the number of rules and
// listed dates is bounded, each costing libical work.
bool zone_usable(icalcomponent* zone) {
    constexpr int most_rules = 50;
    constexpr int most_dates = 2000;
    int rules = 0;
    int dates = 0;
    for (icalcomponent* part = icalcomponent_get_first_component(zone, ICAL_ANY_COMPONENT); part;
         part = icalcomponent_get_next_component(zone, ICAL_ANY_COMPONENT)) {
        if (!offsets_possible(part)) return false;
        for (icalproperty* property = icalcomponent_get_first_property(part, ICAL_RRULE_PROPERTY); property;
             property = icalcomponent_get_next_property(part, ICAL_RRULE_PROPERTY)) {
            if (!zone_rule_fits(icalproperty_get_rrule(property))) return false;
            ++rules;
        }
        dates += icalcomponent_count_properties(part, ICAL_RDATE_PROPERTY);
    }
    return rules <= most_rules && dates <= most_dates;
}

// Times are converted between zones only in these years: the diary's days and a margin. Beyond
// them a time counts as written, which keeps libical from working out a zone's changes for
// thousands of years.
bool convertible(const icaltimetype& time) { return time.zone && time.year >= 1902 && time.year <= 2100; }

}  // namespace

std::set<std::string> drop_unusable_zones(icalcomponent* calendar) {
    std::vector<icalcomponent*> unusable;
    for (icalcomponent* zone = icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT); zone;
         zone = icalcomponent_get_next_component(calendar, ICAL_VTIMEZONE_COMPONENT))
        if (!zone_usable(zone)) unusable.push_back(zone);
    std::set<std::string> names;
    for (icalcomponent* zone : unusable) {
        icalproperty* id = icalcomponent_get_first_property(zone, ICAL_TZID_PROPERTY);
        names.insert(text_of(id ? icalproperty_get_tzid(id) : nullptr));
        icalcomponent_remove_component(calendar, zone);
        icalcomponent_free(zone);
    }
    return names;
}

PlainDay day_as_written(const icaltimetype& time) { return plain_day(time.year, time.month, time.day); }

std::int64_t instant_of(const icaltimetype& time) {
    return icaltime_as_timet_with_zone(time, convertible(time) ? time.zone : icaltimezone_get_utc_timezone());
}

PlainDay local_day(const icaltimetype& time) {
    if (time.is_date || !convertible(time)) return day_as_written(time);
    const std::time_t instant = static_cast<std::time_t>(instant_of(time));
    std::tm local{};
    if (!::localtime_r(&instant, &local)) return day_as_written(time);
    return plain_day(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace daybrook
