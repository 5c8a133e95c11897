#include "ics/planner.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <utility>

#include "ics/ical_handle.h"
#include "ics/ical_values.h"
#include "ics/ics_terms.h"
#include "ics/summary_memo.h"
#include "ics/time_zones.h"

namespace daybrook {

// The days of an event's occurrences from today to the last day followed, and what lies outside
// them; `cut` and `within_a_day` tell what its rules left unfollowed.
struct Occurrences {
    const Exclusions& exclusions;
    PlainDay today;
    PlainDay last;  // the last day followed
    PlainDay span;  // the days each occurrence covers
    std::size_t most;  // more days than this are never needed
    std::set<PlainDay> days;
    std::optional<PlainDay> first_beyond;
    bool any_past = false;
    bool cut = false;
    bool within_a_day = false;

    void add(const icaltimetype& time) {
        if (exclusions.cover(time)) return;
        const PlainDay first = local_day(time);
        if (first < today) any_past = true;
        for (PlainDay day = std::max(first, today); day < first + span; ++day) {
            if (day > last) {
                if (!first_beyond || day < *first_beyond) first_beyond = day;
                break;
            }
            days.insert(day);
            if (days.size() > most) break;
        }
    }
};

namespace {

// Steps one repeat rule may take through libical's iterator, and the time all of a file's rules
// may take: a rule that never matches can keep the iterator searching for a long time.
constexpr int max_rule_steps = 100000;
constexpr std::chrono::seconds expansion_time{10};

// The name of a component for a report: its summary, or else what kind of component it is.
std::string name_of(icalcomponent* component) {
    if (const char* summary = icalcomponent_get_summary(component)) return summary;
    return text_of(icalcomponent_kind_to_string(icalcomponent_isa(component)));
}

// The same day a year later; 28 February for 29 February.
PlainDay a_year_after(PlainDay day) {
    const CalendarDate date = plain_day_to_calendar(day);
    return plain_day(date.year + 1, date.month, std::min(date.day, month_length(date.month, date.year + 1)));
}

// The days an event starting at `start` covers: an all-day event lasts to the day before its
// end date, and one day at least; a timed event is due on the day it begins.
PlainDay span_of(icalcomponent* event, const icaltimetype& start) {
    if (!start.is_date) return 1;
    const icaltimetype end = icalcomponent_get_dtend(event);
    if (icaltime_is_null_time(end) || !end.is_date) return 1;
    return std::max<PlainDay>(1, day_as_written(end) - day_as_written(start));
}

bool marked_red(icalcomponent* event) {
    for (icalproperty* category = icalcomponent_get_first_property(event, ICAL_CATEGORIES_PROPERTY); category;
         category = icalcomponent_get_next_property(event, ICAL_CATEGORIES_PROPERTY)) {
        const char* name = icalproperty_get_categories(category);
        if (name && names_red_letter_day(name)) return true;
    }
    return false;
}

bool readable_start(const icaltimetype& start) {
    return !icaltime_is_null_time(start) && start.month >= 1 && start.month <= 12 && start.day >= 1 && start.day <= 31;
}

}  // namespace

Planner::Planner(DayNumber today, const ImportLimits& limits)
    : m_today(plain_day_of(today)),
      m_last(plain_day_of(last_diary_day)),
      m_horizon(std::min(m_last, limits.until ? plain_day_of(*limits.until) : a_year_after(m_today))),
      m_limits(limits),
      m_deadline(std::chrono::steady_clock::now() + expansion_time) {}

void Planner::not_an_event(icalcomponent* component) { skip(name_of(component), {}, SkipReason::not_an_event); }

void Planner::skip(const std::string& summary, std::optional<PlainDay> day, SkipReason reason) {
    skipped.push_back({one_line(summary), day ? report_date(*day) : std::string(), reason});
}

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
    if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) return skip(summary, {}, SkipReason::cancelled);
    SummaryMemo memo = memo_of_summary(summary);
    if (memo.blank) return skip(summary, {}, SkipReason::blank);
    if (has_unreadable_dates(event)) return skip(summary, {}, SkipReason::unreadable_dates);
    icalproperty* start_property = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (!start_property) return skip(summary, {}, SkipReason::no_date);
    const icaltimetype start = time_of(start_property, event);
    if (!readable_start(start)) return skip(summary, {}, SkipReason::unreadable_dates);

    const Planned entry{.memo = std::move(memo.text), .red = marked_red(event), .source = summaries.size()};
    summaries.push_back(one_line(summary));
    if (!start.is_date) memo.alterations.push_back(Alteration::time_dropped);
    m_alterations.push_back(std::move(memo.alterations));

    Exclusions exclusions = moved ? *moved : Exclusions{};
    for (icalproperty* excluded = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); excluded;
         excluded = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
        exclusions.add(time_of(excluded, event));

    const PlainDay span = span_of(event, start);
    if (every_year_only(event, start, span, exclusions)) yearly(start, span, entry);
    else expand(event, start, span, exclusions, entry);
}

// Each day of the event becomes a yearly entry on that day's next occurrence from today on.
void Planner::yearly(const icaltimetype& start, PlainDay span, const Planned& entry) {
    const int this_year = plain_day_to_calendar(m_today).year;
    std::set<PlainDay> days;
    for (PlainDay day = local_day(start); day < local_day(start) + span; ++day) {
        PlainDay next = day;
        if (next < m_today) {
            const CalendarDate date = plain_day_to_calendar(day);
            next = plain_day(this_year, date.month, date.day);
            if (next < m_today) next = plain_day(this_year + 1, date.month, date.day);
        }
        days.insert(next);
    }
    if (*days.begin() > m_last) return skip(summaries[entry.source], *days.begin(), SkipReason::beyond_diary);
    std::erase_if(days, [this](PlainDay day) { return day > m_last; });
    plan(entry, days, Renewal::yearly, Beyond::nothing);
}

void Planner::expand(icalcomponent* event, const icaltimetype& start, PlainDay span, const Exclusions& exclusions,
                     const Planned& entry) {
    const bool without_end = stops_at_horizon(event);
    Occurrences occurrences{.exclusions = exclusions, .today = m_today, .last = without_end ? m_horizon : m_last,
                            .span = span, .most = m_limits.per_event};
    // DTSTART is the first occurrence, whether or not the rules would give it.
    occurrences.add(start);
    if (!follow_rules(event, start, occurrences))
        return skip(summaries[entry.source], local_day(start), SkipReason::unreadable_dates);
    add_dates(event, occurrences);
    if (occurrences.within_a_day) skip(summaries[entry.source], {}, SkipReason::repeats_within_a_day);
    plan_occurrences(entry, start, occurrences, without_end ? std::optional(occurrences.last) : std::nullopt);
}

// Follows each repeat rule of the event; false when one cannot be read.
bool Planner::follow_rules(icalcomponent* event, const icaltimetype& start, Occurrences& occurrences) {
    for (icalproperty* property = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); property;
         property = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype rule = icalproperty_get_rrule(property);
        if (repeats_within_a_day(rule)) {
            occurrences.within_a_day = true;
            continue;
        }
        const RuleEnd end = follow_rule(rule, start, occurrences);
        if (end == RuleEnd::unreadable) return false;
        occurrences.cut = occurrences.cut || end == RuleEnd::cut;
    }
    return true;
}

// Adds the occurrences the event lists by RDATE.
void Planner::add_dates(icalcomponent* event, Occurrences& occurrences) const {
    for (icalproperty* property = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); property;
         property = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(property);
        occurrences.add(icaltime_is_null_time(value.time) ? value.period.start : time_of(property, event));
    }
}

// Plans the days of an expanded event, or skips it for the first reason it has none.
void Planner::plan_occurrences(const Planned& entry, const icaltimetype& start, const Occurrences& occurrences,
                               std::optional<PlainDay> horizon) {
    const std::string& summary = summaries[entry.source];
    if (!occurrences.days.empty())
        return plan_repeats(entry, occurrences.days, occurrences.cut ? Beyond::more_repeats : Beyond::nothing, horizon);
    if (const std::optional<PlainDay> beyond = occurrences.first_beyond)
        return skip(summary, *beyond, *beyond > m_last ? SkipReason::beyond_diary : SkipReason::beyond_horizon);
    if (occurrences.any_past) return skip(summary, local_day(start), SkipReason::past);
    if (occurrences.cut) return skip(summary, {}, SkipReason::too_many);
    skip(summary, local_day(start), SkipReason::no_occurrence);
}

// Plans the days of a repeating event; one that repeats without end, followed up to `horizon`,
// is reported with the number of its entries and the day they reach: the horizon, or the last
// entry when the limits cut it short.
void Planner::plan_repeats(const Planned& entry, const std::set<PlainDay>& days, Beyond beyond,
                           std::optional<PlainDay> horizon) {
    const std::size_t made = plan(entry, days, Renewal::none, beyond);
    if (!horizon || made == 0) return;
    const bool cut = beyond == Beyond::more_repeats || made < days.size();
    const PlainDay reached = cut ? *std::next(days.begin(), std::ptrdiff_t(made) - 1) : *horizon;
    open_repeats.push_back({summaries[entry.source], made, report_date(reached)});
}

// Follows one repeat rule from the start to the last day of `occurrences`, giving each
// occurrence to it; `cut` when it stopped at the limits (of the event's entries, of the rule's
// steps or of the time for the file) before it ended. A rule without a count may start where
// today's occurrences begin (a day early, for the hours between its zone and the local one),
// instead of stepping through the years before.
Planner::RuleEnd Planner::follow_rule(const icalrecurrencetype& rule, const icaltimetype& start,
                                      Occurrences& occurrences) {
    const IcalIterator iterator(icalrecur_iterator_new(rule, start));
    if (!iterator) return RuleEnd::unreadable;
    if (rule.count == 0 && day_as_written(start) < m_today - 2) {
        icaltimetype from = start;
        const CalendarDate date = plain_day_to_calendar(m_today - 2);
        from.year = date.year;
        from.month = date.month;
        from.day = date.day;
        icalrecur_iterator_set_start(iterator.get(), from);
    }
    const std::size_t before = occurrences.days.size();
    for (int step = 0;; ++step) {
        const icaltimetype time = icalrecur_iterator_next(iterator.get());
        if (icaltime_is_null_time(time)) return RuleEnd::ended;
        if (day_as_written(time) > occurrences.last + 1) {
            occurrences.add(time);  // to tell the first day beyond
            return RuleEnd::ended;
        }
        if (step == max_rule_steps || occurrences.days.size() - before > m_limits.per_event ||
            std::chrono::steady_clock::now() > m_deadline)
            return RuleEnd::cut;
        if (icaltime_compare(time, start) > 0) occurrences.add(time);
    }
}

// Plans the entry for each day, as many as the limits allow, and returns how many; what they
// leave out is skipped once for the event, with the first day left out.
std::size_t Planner::plan(const Planned& entry, const std::set<PlainDay>& days, Renewal renewal, Beyond beyond) {
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
        planned_entry.yearly = renewal == Renewal::yearly;
        planned.push_back(std::move(planned_entry));
        ++made;
    }
    if (beyond == Beyond::more_repeats) skip(summaries[entry.source], {}, SkipReason::too_many);
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

std::vector<AlteredEvent> Planner::altered() const {
    std::vector<bool> made_entries(summaries.size(), false);
    for (const Planned& entry : planned) made_entries[entry.source] = true;
    std::vector<AlteredEvent> altered;
    for (std::size_t event = 0; event < summaries.size(); ++event) {
        if (!made_entries[event]) continue;
        for (Alteration alteration : m_alterations[event]) altered.push_back({summaries[event], alteration});
    }
    return altered;
}

}  // namespace daybrook
