// The planner behind plan_calendar (calendar_plan.h): it reads the events of a parsed calendar
// one by one and works out the entries each makes, what it skips and why, and its repeats
// without end, without touching any store. The rules are import_ics's (ics_import.h).
#pragma once

#include <libical/ical.h>

#include <chrono>
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "calendar/day_number.h"
#include "ics/calendar_plan.h"
#include "ics/event_dates.h"

namespace daybrook {

struct Planned {
    DayNumber day = 0;
    std::string memo;
    bool red = false;
    bool yearly = false;
    std::size_t source = 0;  // the index of its event in Planner::summaries
};

// The days of one event's occurrences; defined with the planner.
struct Occurrences;

class Planner {
public:
    Planner(DayNumber today, const ImportLimits& limits);

    // Plans the events of one calendar, whose time zones `unusable_zones` were taken out.
    void calendar(icalcomponent* calendar, const std::set<std::string>& unusable_zones);
    void not_an_event(icalcomponent* component);

    std::vector<PlannedEntry> entries() const;
    // The alterations of the events that made an entry, in the file's order.
    std::vector<AlteredEvent> altered() const;

    std::vector<Planned> planned;
    std::vector<std::string> summaries;  // one line each
    std::vector<SkippedItem> skipped;
    std::vector<OpenRepeat> open_repeats;

private:
    // Whether an entry is renewed each year by the diary, or stands on its day alone.
    enum class Renewal { none, yearly };
    // Whether an event's repeats went on beyond the days given to plan.
    enum class Beyond { nothing, more_repeats };
    enum class RuleEnd { ended, cut, unreadable };

    void event(icalcomponent* event, const Exclusions* moved);
    void yearly(const icaltimetype& start, PlainDay span, const Planned& entry);
    void expand(icalcomponent* event, const icaltimetype& start, PlainDay span, const Exclusions& exclusions,
                const Planned& entry);
    [[nodiscard]] bool follow_rules(icalcomponent* event, const icaltimetype& start, Occurrences& occurrences);
    RuleEnd follow_rule(const icalrecurrencetype& rule, const icaltimetype& start, Occurrences& occurrences);
    void add_dates(icalcomponent* event, Occurrences& occurrences) const;
    void plan_occurrences(const Planned& entry, const icaltimetype& start, const Occurrences& occurrences,
                          std::optional<PlainDay> horizon);
    std::size_t plan(const Planned& entry, const std::set<PlainDay>& days, Renewal renewal, Beyond beyond);
    void plan_repeats(const Planned& entry, const std::set<PlainDay>& days, Beyond beyond,
                      std::optional<PlainDay> horizon);
    icaltimetype time_of(icalproperty* property, icalcomponent* event) const;
    void skip(const std::string& summary, std::optional<PlainDay> day, SkipReason reason);

    PlainDay m_today;
    PlainDay m_last;
    PlainDay m_horizon;  // the last day an endless repeat is followed to
    ImportLimits m_limits;
    std::chrono::steady_clock::time_point m_deadline;
    std::set<std::string> m_unusable_zones;  // of the calendar being read
    std::vector<std::vector<Alteration>> m_alterations;  // of each event in summaries
};

}  // namespace daybrook
