#include "ics/ics_import.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <utility>

#include "calendar/text_helpers.h"
#include "ics/ical_handle.h"
#include "ics/ics_terms.h"
#include "ics/windows_1252.h"

namespace daybrook {
namespace {

// Steps one repeat rule may take through libical's iterator, and the time all of a file's rules
// may take: a rule that never matches can keep the iterator searching for a long time.
constexpr int max_rule_steps = 100000;
constexpr std::chrono::seconds expansion_time{10};

// Repeats within a day are not followed: the diary keeps days, and libical's iterator can search
// without end for an hourly or finer rule whose parts never match (BYMONTH=2;BYMONTHDAY=30).
bool repeats_within_a_day(const icalrecurrencetype& rule) {
    return rule.freq == ICAL_SECONDLY_RECURRENCE || rule.freq == ICAL_MINUTELY_RECURRENCE ||
           rule.freq == ICAL_HOURLY_RECURRENCE;
}

std::string date_text(PlainDay day) {
    const CalendarDate date = day_to_calendar(static_cast<DayNumber>(day));
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", date.day, date.month, date.year);
    return text;
}

// ---- Reading the file ----

// Deeper than any calendar program nests components (a calendar, an event, an alarm, a few
// custom parts): libical frees a tree by recursion, and a file of a few hundred thousand nested
// BEGIN lines would overflow the stack.
constexpr std::size_t most_nesting = 40;

// What the text holds as a calendar file: `problem` tells why it cannot be a whole one, or is
// empty. Every component opened by BEGIN closes by a matching END before the text ends, and
// nothing but blank lines stands before the first one. libical forgives a file cut off after its
// first calendar; the diary does not import half a file. Text after a closed calendar that opens
// no further component (a comment some servers add) ends what is read: `length` is the part
// before it, and `trailing_line` its line number.
struct FileShape {
    std::string problem;
    std::size_t length = 0;
    int trailing_line = 0;
};

std::string_view next_line(std::string_view text, std::size_t& offset) {
    const std::size_t end = text.find('\n', offset);
    std::string_view line = text.substr(offset, end == std::string_view::npos ? std::string_view::npos : end - offset);
    offset = end == std::string_view::npos ? text.size() : end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

FileShape file_shape(std::string_view text) {
    FileShape shape{.length = text.size()};
    std::vector<std::string> open;
    bool closed_one = false;
    int line_number = 0;
    for (std::size_t offset = 0; offset < text.size();) {
        const std::size_t line_start = offset;
        const std::string_view line = next_line(text, offset);
        ++line_number;
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        const bool folded = line.front() == ' ' || line.front() == '\t';
        const std::string name = folded ? std::string() : ascii_lower(line.substr(0, line.find_first_of(":;")));
        if (open.empty() && name != "begin") {
            if (closed_one) return {.length = line_start, .trailing_line = line_number};
            return {.problem = "it holds text outside any calendar, on line " + std::to_string(line_number)};
        }
        if (name != "begin" && name != "end") continue;
        const auto colon = line.find(':');
        std::string value = ascii_lower(colon == std::string_view::npos ? "" : line.substr(colon + 1));
        value.erase(value.find_last_not_of(" \t") + 1);
        if (name == "begin") {
            if (open.size() == most_nesting)
                return {.problem = "its components nest deeper than " + std::to_string(most_nesting) +
                                   " levels, on line " + std::to_string(line_number) + ", which no calendar needs"};
            open.push_back(value);
        } else if (open.back() != value) {
            return {.problem = "line " + std::to_string(line_number) + " closes a component that is not open"};
        } else {
            open.pop_back();
            closed_one = closed_one || open.empty();
        }
    }
    if (!open.empty()) {
        std::string name = open.back();
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return {.problem = "it ends inside a " + name + ": the file seems cut short"};
    }
    return shape;
}

// Whether libical reported a value it could not read in one of the properties that set an
// event's days; it drops such a property, which would silently make a repeating event a
// single one or move its end.
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

std::string text_of(const char* value) { return value ? std::string(value) : std::string(); }

bool empty_list(const short* list) { return list[0] == ICAL_RECURRENCE_ARRAY_MAX; }
bool just(const short* list, int value) {
    return list[0] == value && list[1] == ICAL_RECURRENCE_ARRAY_MAX;
}

std::size_t list_size(const short* list, std::size_t capacity) {
    std::size_t size = 0;
    while (size < capacity && list[size] != ICAL_RECURRENCE_ARRAY_MAX) ++size;
    return size;
}

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

// Whether libical can use a time zone of the calendar in reasonable time: besides the shape of
// each rule, the number of rules and listed dates is bounded, each costing libical work.
bool zone_usable(icalcomponent* zone) {
    constexpr int most_rules = 50;
    constexpr int most_dates = 2000;
    int rules = 0;
    int dates = 0;
    for (icalcomponent* part = icalcomponent_get_first_component(zone, ICAL_ANY_COMPONENT); part;
         part = icalcomponent_get_next_component(zone, ICAL_ANY_COMPONENT)) {
        for (icalproperty* property = icalcomponent_get_first_property(part, ICAL_RRULE_PROPERTY); property;
             property = icalcomponent_get_next_property(part, ICAL_RRULE_PROPERTY)) {
            if (!zone_rule_fits(icalproperty_get_rrule(property))) return false;
            ++rules;
        }
        dates += icalcomponent_count_properties(part, ICAL_RDATE_PROPERTY);
    }
    return rules <= most_rules && dates <= most_dates;
}

// Takes the calendar's time zones that cannot be used out of it, so that libical never works
// with them, and returns their names: the times given in them are read as times of this machine.
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

// ---- Days and times ----

PlainDay own_day(const icaltimetype& time) { return plain_day(time.year, time.month, time.day); }

// Times are converted between zones only in these years: the diary's days and a margin. Beyond
// them a time counts as written, which keeps libical from working out a zone's changes for
// thousands of years.
bool convertible(const icaltimetype& time) { return time.zone && time.year >= 1902 && time.year <= 2100; }

// The moment a time stands for; a floating time counts as UTC, the same for every floating time.
std::int64_t instant_of(const icaltimetype& time) {
    return icaltime_as_timet_with_zone(time, convertible(time) ? time.zone : icaltimezone_get_utc_timezone());
}

// The day a time falls on here: a date and a floating time as written, a UTC time and a time of
// a zone in the local time of this machine.
PlainDay local_day(const icaltimetype& time) {
    if (time.is_date || !convertible(time)) return own_day(time);
    const std::time_t instant = static_cast<std::time_t>(instant_of(time));
    std::tm local{};
    if (!::localtime_r(&instant, &local)) return own_day(time);
    return plain_day(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

// Whether a repeat rule goes on without a count or an end.
bool endless(const icalrecurrencetype& rule) { return rule.count == 0 && icaltime_is_null_time(rule.until); }

// Whether one of the event's rules repeats without end, so that its occurrences stop at the
// import's horizon. A yearly rule gives few entries to the end of the diary (one that is not one
// yearly entry: 29 February, or several days a year), so it is followed to the end as before.
bool stops_at_horizon(icalcomponent* event) {
    for (icalproperty* property = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); property;
         property = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype rule = icalproperty_get_rrule(property);
        if (endless(rule) && !repeats_within_a_day(rule) && rule.freq != ICAL_YEARLY_RECURRENCE) return true;
    }
    return false;
}

// The name of a component for a report: its summary, or else what kind of component it is.
std::string name_of(icalcomponent* component) {
    if (const char* summary = icalcomponent_get_summary(component)) return summary;
    return text_of(icalcomponent_kind_to_string(icalcomponent_isa(component)));
}

// The occurrences a RECURRENCE-ID or EXDATE takes out of an event's repeats. A date takes out
// every occurrence of its date; a date-time the occurrence at that moment, or for an all-day
// event the occurrence of its date.
struct Exclusions {
    std::set<PlainDay> dates;
    std::set<PlainDay> timed_dates;
    std::set<std::int64_t> instants;

    void add(const icaltimetype& time) {
        if (icaltime_is_null_time(time)) return;
        if (time.is_date) {
            dates.insert(own_day(time));
        } else {
            timed_dates.insert(own_day(time));
            instants.insert(instant_of(time));
        }
    }
    bool empty() const { return dates.empty() && instants.empty(); }
    bool cover(const icaltimetype& time) const {
        const PlainDay day = own_day(time);
        if (dates.contains(day)) return true;
        return time.is_date ? timed_dates.contains(day) : instants.contains(instant_of(time));
    }
};

// ---- Planning ----

struct Planned {
    DayNumber day = 0;
    std::string memo;
    bool red = false;
    bool yearly = false;
    std::size_t source = 0;  // the index of its event in Planner::summaries
};

// The same day a year later; 28 February for 29 February.
PlainDay a_year_after(PlainDay day) {
    const CalendarDate date = day_to_calendar(diary_day_of(day));
    return plain_day(date.year + 1, date.month, std::min(date.day, month_length(date.month, date.year + 1)));
}

class Planner {
public:
    Planner(DayNumber today, const ImportLimits& limits)
        : m_today(plain_day_of(today)),
          m_last(plain_day_of(last_diary_day)),
          m_horizon(std::min(m_last, limits.until ? plain_day_of(*limits.until) : a_year_after(m_today))),
          m_limits(limits),
          m_deadline(std::chrono::steady_clock::now() + expansion_time) {}

    void calendar(icalcomponent* calendar, const std::set<std::string>& unusable_zones);
    void not_an_event(icalcomponent* component) { skip(name_of(component), {}, SkipReason::not_an_event); }
    std::vector<PlannedEntry> entries() const;

    std::vector<Planned> planned;
    std::vector<std::string> summaries;  // one line each
    std::vector<SkippedItem> skipped;
    std::vector<OpenRepeat> open_repeats;

private:
    void event(icalcomponent* event, const Exclusions* moved);
    void yearly(const icaltimetype& start, PlainDay span, const Planned& entry);
    void expand(icalcomponent* event, const icaltimetype& start, PlainDay span,
                const Exclusions& exclusions, const Planned& entry);
    bool every_year_only(icalcomponent* event, const icaltimetype& start, PlainDay span,
                         const Exclusions& exclusions) const;
    enum class RuleEnd { ended, cut, unreadable };
    RuleEnd follow_rule(const icalrecurrencetype& rule, const icaltimetype& start, PlainDay last,
                        const std::function<void(const icaltimetype&)>& occurs, const std::set<PlainDay>& found);
    std::size_t plan(const Planned& entry, const std::set<PlainDay>& days, bool yearly, bool more);
    void plan_repeats(const Planned& entry, const std::set<PlainDay>& days, bool too_many,
                      std::optional<PlainDay> horizon);
    icaltimetype time_of(icalproperty* property, icalcomponent* event) const;
    void skip(std::string summary, std::optional<PlainDay> day, SkipReason reason) {
        skipped.push_back({one_line(summary), day ? date_text(*day) : std::string(), reason});
    }

    PlainDay m_today;
    PlainDay m_last;
    PlainDay m_horizon;  // the last day an endless repeat is followed to
    ImportLimits m_limits;
    std::chrono::steady_clock::time_point m_deadline;
    std::set<std::string> m_unusable_zones;  // of the calendar being read
};

// The date or date-time of a property, its TZID looked up in the calendar. A time in a zone that
// was dropped as unusable counts as a time of this machine, as a floating time does.
icaltimetype Planner::time_of(icalproperty* property, icalcomponent* event) const {
    icaltimetype time = icalproperty_get_datetime_with_component(property, event);
    icalparameter* zone = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (zone && m_unusable_zones.contains(text_of(icalparameter_get_tzid(zone)))) time.zone = nullptr;
    return time;
}

void Planner::calendar(icalcomponent* calendar, const std::set<std::string>& unusable_zones) {
    m_unusable_zones = unusable_zones;
    // The occurrences that events with a RECURRENCE-ID move or cancel, by UID.
    std::map<std::string, Exclusions> moved;
    for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
         event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        icalproperty* id = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
        if (id && icalcomponent_get_uid(event)) moved[icalcomponent_get_uid(event)].add(time_of(id, event));
    }
    for (icalcomponent* component = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT);
         component; component = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
        switch (icalcomponent_isa(component)) {
            case ICAL_VEVENT_COMPONENT: {
                const char* uid = icalcomponent_get_uid(component);
                const bool master = !icalcomponent_get_first_property(component, ICAL_RECURRENCEID_PROPERTY);
                const auto found = uid && master ? moved.find(uid) : moved.end();
                event(component, found == moved.end() ? nullptr : &found->second);
                break;
            }
            case ICAL_VTIMEZONE_COMPONENT:
                break;
            default:
                not_an_event(component);
        }
    }
}

void Planner::event(icalcomponent* event, const Exclusions* moved) {
    const std::string summary = text_of(icalcomponent_get_summary(event));
    if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED)
        return skip(summary, {}, SkipReason::cancelled);

    Planned entry;
    entry.memo = one_line(utf8_to_windows_1252(summary)).substr(0, memo_limit);
    if (is_blank(one_line(utf8_to_windows_1252(summary, ' ')).substr(0, memo_limit)))
        return skip(summary, {}, SkipReason::blank);
    if (has_unreadable_dates(event)) return skip(summary, {}, SkipReason::unreadable_dates);
    if (!icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY))
        return skip(summary, {}, SkipReason::no_date);
    const icaltimetype start = time_of(icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY), event);
    if (icaltime_is_null_time(start) || start.month < 1 || start.month > 12 || start.day < 1 || start.day > 31)
        return skip(summary, {}, SkipReason::unreadable_dates);

    // An all-day event lasts to the day before its end date, and one day at least.
    PlainDay span = 1;
    if (start.is_date) {
        const icaltimetype end = icalcomponent_get_dtend(event);
        if (!icaltime_is_null_time(end) && end.is_date)
            span = std::max<PlainDay>(1, own_day(end) - own_day(start));
    }
    for (icalproperty* category = icalcomponent_get_first_property(event, ICAL_CATEGORIES_PROPERTY);
         category; category = icalcomponent_get_next_property(event, ICAL_CATEGORIES_PROPERTY)) {
        const char* name = icalproperty_get_categories(category);
        if (name && names_red_letter_day(name)) entry.red = true;
    }
    entry.source = summaries.size();
    summaries.push_back(one_line(summary));

    Exclusions exclusions = moved ? *moved : Exclusions{};
    for (icalproperty* excluded = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); excluded;
         excluded = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
        exclusions.add(time_of(excluded, event));

    if (every_year_only(event, start, span, exclusions)) yearly(start, span, entry);
    else expand(event, start, span, exclusions, entry);
}

bool Planner::every_year_only(icalcomponent* event, const icaltimetype& start, PlainDay span,
                              const Exclusions& exclusions) const {
    icalproperty* first = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    if (!first || icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) return false;
    if (icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY) || !exclusions.empty()) return false;
    if (icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) return false;
    const icalrecurrencetype rule = icalproperty_get_rrule(first);
    if (rule.freq != ICAL_YEARLY_RECURRENCE || rule.interval > 1 || rule.count != 0 ||
        !icaltime_is_null_time(rule.until))
        return false;
    if (rule.rscale && ascii_lower(rule.rscale) != "gregorian") return false;
    if (!empty_list(rule.by_second) || !empty_list(rule.by_minute) || !empty_list(rule.by_hour) ||
        !empty_list(rule.by_day) || !empty_list(rule.by_year_day) || !empty_list(rule.by_week_no) ||
        !empty_list(rule.by_set_pos))
        return false;
    if (!empty_list(rule.by_month) && !just(rule.by_month, start.month)) return false;
    if (!empty_list(rule.by_month_day) && !just(rule.by_month_day, start.day)) return false;
    // The diary cannot carry 29 February over to a year without it, nor repeat a stretch that
    // overlaps itself.
    if (span >= 365) return false;
    const PlainDay first_day = local_day(start);
    for (PlainDay day = first_day; day < first_day + span; ++day) {
        const CalendarDate date = day_to_calendar(static_cast<DayNumber>(day));
        if (date.month == 2 && date.day == 29) return false;
    }
    return true;
}

// Each day of the event becomes a yearly entry on that day's next occurrence from today on.
void Planner::yearly(const icaltimetype& start, PlainDay span, const Planned& entry) {
    const int this_year = day_to_calendar(static_cast<DayNumber>(m_today)).year;
    std::set<PlainDay> days;
    for (PlainDay day = local_day(start); day < local_day(start) + span; ++day) {
        PlainDay next = day;
        if (next < m_today) {
            const CalendarDate date = day_to_calendar(static_cast<DayNumber>(day));
            next = plain_day(this_year, date.month, date.day);
            if (next < m_today) next = plain_day(this_year + 1, date.month, date.day);
        }
        days.insert(next);
    }
    if (*days.begin() > m_last) return skip(summaries[entry.source], *days.begin(), SkipReason::beyond_diary);
    std::erase_if(days, [this](PlainDay day) { return day > m_last; });
    plan(entry, days, true, false);
}

void Planner::expand(icalcomponent* event, const icaltimetype& start, PlainDay span,
                     const Exclusions& exclusions, const Planned& entry) {
    const bool without_end = stops_at_horizon(event);
    const PlainDay last = without_end ? m_horizon : m_last;
    std::set<PlainDay> days;  // from today to `last`
    std::optional<PlainDay> first_beyond;
    bool any_past = false;
    const auto occurs = [&](const icaltimetype& time) {
        if (exclusions.cover(time)) return;
        const PlainDay first = local_day(time);
        if (first < m_today) any_past = true;
        for (PlainDay day = std::max(first, m_today); day < first + span; ++day) {
            if (day > last) {
                if (!first_beyond || day < *first_beyond) first_beyond = day;
                break;
            }
            days.insert(day);
            if (days.size() > m_limits.per_event) break;
        }
    };

    // DTSTART is the first occurrence, whether or not the rules would give it.
    occurs(start);
    bool too_many = false;
    bool within_a_day = false;
    for (icalproperty* property = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); property;
         property = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype rule = icalproperty_get_rrule(property);
        if (repeats_within_a_day(rule)) {
            within_a_day = true;
            continue;
        }
        const RuleEnd end = follow_rule(rule, start, last, occurs, days);
        if (end == RuleEnd::unreadable) return skip(summaries[entry.source], local_day(start), SkipReason::unreadable_dates);
        too_many = too_many || end == RuleEnd::cut;
    }
    for (icalproperty* property = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); property;
         property = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(property);
        occurs(icaltime_is_null_time(value.time) ? value.period.start : time_of(property, event));
    }

    const std::string& summary = summaries[entry.source];
    if (within_a_day) skip(summary, {}, SkipReason::repeats_within_a_day);
    if (!days.empty()) return plan_repeats(entry, days, too_many, without_end ? std::optional(last) : std::nullopt);
    if (first_beyond)
        return skip(summary, *first_beyond, *first_beyond > m_last ? SkipReason::beyond_diary : SkipReason::beyond_horizon);
    if (any_past) return skip(summary, local_day(start), SkipReason::past);
    if (too_many) return skip(summary, {}, SkipReason::too_many);
    skip(summary, local_day(start), SkipReason::no_occurrence);
}

// Plans the days of a repeating event; one that repeats without end, followed up to `horizon`,
// is reported with the number of its entries and the day they reach: the horizon, or the last
// entry when the limits cut it short.
void Planner::plan_repeats(const Planned& entry, const std::set<PlainDay>& days, bool too_many,
                           std::optional<PlainDay> horizon) {
    const std::size_t made = plan(entry, days, false, too_many);
    if (!horizon || made == 0) return;
    const bool cut = too_many || made < days.size();
    const PlainDay reached = cut ? *std::next(days.begin(), std::ptrdiff_t(made) - 1) : *horizon;
    open_repeats.push_back({summaries[entry.source], made, date_text(reached)});
}

// Follows one repeat rule from the start to the day `last`, giving each occurrence to `occurs`;
// `cut` when it stopped at the limits (of the event's entries `found`, of the rule's steps or of
// the time for the file) before it ended. A rule without a count may start where today's
// occurrences begin (a day early, for the hours between its zone and the local one), instead of
// stepping through the years before.
Planner::RuleEnd Planner::follow_rule(const icalrecurrencetype& rule, const icaltimetype& start, PlainDay last,
                                      const std::function<void(const icaltimetype&)>& occurs,
                                      const std::set<PlainDay>& found) {
    const IcalIterator iterator(icalrecur_iterator_new(rule, start));
    if (!iterator) return RuleEnd::unreadable;
    if (rule.count == 0 && own_day(start) < m_today - 2) {
        icaltimetype from = start;
        const CalendarDate date = day_to_calendar(diary_day_of(m_today - 2));
        from.year = date.year;
        from.month = date.month;
        from.day = date.day;
        icalrecur_iterator_set_start(iterator.get(), from);
    }
    const std::size_t before = found.size();
    for (int step = 0;; ++step) {
        const icaltimetype time = icalrecur_iterator_next(iterator.get());
        if (icaltime_is_null_time(time)) return RuleEnd::ended;
        if (own_day(time) > last + 1) {
            occurs(time);  // to tell the first day beyond
            return RuleEnd::ended;
        }
        if (step == max_rule_steps || found.size() - before > m_limits.per_event ||
            std::chrono::steady_clock::now() > m_deadline)
            return RuleEnd::cut;
        if (icaltime_compare(time, start) > 0) occurs(time);
    }
}

// Plans the entry for each day, as many as the limits allow, and returns how many; what they
// leave out is skipped once for the event, with the first day left out. `more` tells that the
// event's repeats went on beyond the days given.
std::size_t Planner::plan(const Planned& entry, const std::set<PlainDay>& days, bool yearly, bool more) {
    std::size_t made = 0;
    for (PlainDay day : days) {
        if (made == m_limits.per_event) {
            skip(summaries[entry.source], day, SkipReason::too_many);
            return made;
        }
        if (planned.size() >= m_limits.per_file) {
            skip(summaries[entry.source], day, SkipReason::file_limit);
            return made;
        }
        Planned planned_entry = entry;
        planned_entry.day = diary_day_of(day);
        planned_entry.yearly = yearly;
        planned.push_back(std::move(planned_entry));
        ++made;
    }
    if (more) skip(summaries[entry.source], {}, SkipReason::too_many);
    return made;
}

std::vector<PlannedEntry> Planner::entries() const {
    std::vector<PlannedEntry> entries;
    entries.reserve(planned.size());
    for (const Planned& entry : planned) {
        EntryRecord record;
        record.text = entry.memo;
        record.red = entry.red ? 1 : 0;
        record.yearly = entry.yearly ? EntryRecord::yearly_pending : EntryRecord::not_yearly;
        entries.push_back({entry.day, std::move(record), entry.source});
    }
    return entries;
}

// ---- Writing ----

using EntryKey = std::tuple<DayNumber, std::string, bool, bool>;  // day, memo, red, yearly

EntryKey key_of(DayNumber day, const EntryRecord& record) {
    return {day, one_line(record.text).substr(0, memo_limit), record.red != 0, record.yearly != 0};
}

// Hands out the names add_entry would give, for a trial run that writes nothing: a day's lowest
// slot without a file that was not handed out before.
class TrialSlots {
public:
    explicit TrialSlots(const StoreDir& dir) : m_dir(dir) {}
    AddedEntry add(DayNumber day) {
        for (int slot = 0; slot < slots_per_day; ++slot) {
            if (slot_taken(m_dir, day, slot)) continue;
            std::string name = entry_file_name(day, slot);
            if (m_given.insert(name).second) return {StoreError::none, std::move(name)};
        }
        return {StoreError::day_full, {}};
    }

private:
    StoreDir m_dir;
    std::set<std::string> m_given;
};

// Adds the planned entries that the store does not hold yet, or in a trial only works out their
// names. Each entry already in the store stands for one planned entry alike, once.
void add_planned(const StoreDir& dir, const CalendarPlan& plan, ImportMode mode, ImportReport& report) {
    std::map<EntryKey, int> present;
    std::set<DayNumber> days_read;
    for (const PlannedEntry& entry : plan.entries) {
        if (days_read.insert(entry.day).second)
            for (const EntryRecord& record : day_entries(dir, entry.day)) ++present[key_of(entry.day, record)];
    }
    TrialSlots trial(dir);
    for (const PlannedEntry& entry : plan.entries) {
        const auto skip = [&](SkipReason reason) {
            report.skipped.push_back({plan.summaries[entry.event], date_text(plain_day_of(entry.day)), reason});
        };
        EntryRecord record = entry.record;
        if (int& count = present[key_of(entry.day, record)]; count > 0) {
            --count;
            skip(SkipReason::already_there);
            continue;
        }
        errno = 0;
        const AddedEntry added = mode == ImportMode::trial ? trial.add(entry.day) : add_entry(dir, entry.day, record);
        const int write_errno = errno;  // what made a write fail, read before anything else runs
        if (added.error == StoreError::none) {
            record.date = day_to_date(entry.day);
            record.file = added.name;
            report.added.push_back({added.name, encode(record)});
        } else if (added.error == StoreError::day_full) {
            skip(SkipReason::day_full);
        } else {
            skip(SkipReason::write_failed);
            if (report.write_error.empty())
                report.write_error = "an entry of " + date_text(plain_day_of(entry.day)) + " could not be written: " +
                                     (write_errno != 0 ? std::strerror(write_errno) : "the file system refused it");
        }
    }
}

// The calendars of the parsed file, and the components beside them.
void sort_components(icalcomponent* root, std::vector<icalcomponent*>& calendars, std::vector<icalcomponent*>& strays) {
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) {
        calendars.push_back(root);
    } else if (icalcomponent_isa(root) == ICAL_XROOT_COMPONENT) {
        for (icalcomponent* child = icalcomponent_get_first_component(root, ICAL_ANY_COMPONENT); child;
             child = icalcomponent_get_next_component(root, ICAL_ANY_COMPONENT))
            (icalcomponent_isa(child) == ICAL_VCALENDAR_COMPONENT ? calendars : strays).push_back(child);
    }
}

// Why the text cannot be read at all, before libical sees it; empty when it may be.
std::string text_problem(std::string_view text) {
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return "the file is empty";
    if (text.find('\0') != std::string_view::npos) return "it holds a zero byte, so it is no text file";
    return {};
}

}  // namespace

CalendarPlan plan_calendar(std::string_view text, DayNumber today, const ImportLimits& limits) {
    CalendarPlan plan;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    plan.error = text_problem(text);
    const FileShape shape = plan.error.empty() ? file_shape(text) : FileShape{};
    if (plan.error.empty()) plan.error = shape.problem;
    if (!plan.error.empty()) return plan;
    if (shape.trailing_line > 0)
        plan.notes.push_back("The text from line " + std::to_string(shape.trailing_line) +
                             " on follows the end of the calendar and was left aside.");
    const IcalComponent root(icalparser_parse_string(std::string(text.substr(0, shape.length)).c_str()));
    std::vector<icalcomponent*> calendars;
    std::vector<icalcomponent*> strays;
    if (root) sort_components(root.get(), calendars, strays);
    if (calendars.empty()) {
        plan.error = root ? "it holds no calendar (no BEGIN:VCALENDAR)" : "libical cannot read it as an iCalendar file";
        return plan;
    }

    ::tzset();  // the local time zone as TZ gives it now
    Planner planner(today, limits);
    for (icalcomponent* calendar : calendars) {
        const std::set<std::string> unusable = drop_unusable_zones(calendar);
        for (const std::string& zone : unusable)
            plan.notes.push_back("The time zone \"" + zone + "\" of the file changes its offset in a way no time zone "
                                 "does, so its events are placed by this machine's time zone.");
        planner.calendar(calendar, unusable);
    }
    for (icalcomponent* stray : strays) planner.not_an_event(stray);
    plan.entries = planner.entries();
    plan.summaries = std::move(planner.summaries);
    plan.skipped = std::move(planner.skipped);
    plan.open_repeats = std::move(planner.open_repeats);
    return plan;
}

ImportReport import_ics(const StoreDir& dir, std::string_view text, DayNumber today, const ImportLimits& limits,
                        ImportMode mode) {
    const CalendarPlan plan = plan_calendar(text, today, limits);
    ImportReport report{.error = plan.error, .skipped = plan.skipped, .open_repeats = plan.open_repeats,
                        .notes = plan.notes};
    if (report.error.empty()) add_planned(dir, plan, mode, report);
    return report;
}

}  // namespace daybrook
