#include "ics/calendar_plan.h"

#include <ctime>
#include <set>
#include <utility>

#include "ics/file_shape.h"
#include "ics/ical_parse.h"
#include "ics/planner.h"
#include "ics/time_zones.h"

namespace daybrook {
namespace {

// Why the text cannot be read at all, before libical sees it; empty when it may be.
std::string text_problem(std::string_view text) {
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return "the file is empty";
    if (text.find('\0') != std::string_view::npos) return "it holds a zero byte, so it is no text file";
    return {};
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

// Plans the events of the calendars and the components beside them into `plan`.
void plan_components(const std::vector<icalcomponent*>& calendars, const std::vector<icalcomponent*>& strays,
                     DayNumber today, const ImportLimits& limits, CalendarPlan& plan) {
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
    plan.altered = planner.altered();
    plan.summaries = std::move(planner.summaries);
    plan.skipped = std::move(planner.skipped);
    plan.open_repeats = std::move(planner.open_repeats);
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
    const IcalComponent root = parse_ical(text.substr(0, shape.length));
    std::vector<icalcomponent*> calendars;
    std::vector<icalcomponent*> strays;
    if (root) sort_components(root.get(), calendars, strays);
    if (calendars.empty()) {
        plan.error = root ? "it holds no calendar (no BEGIN:VCALENDAR)" : "libical cannot read it as an iCalendar file";
        return plan;
    }
    plan_components(calendars, strays, today, limits, plan);
    return plan;
}

}  // namespace daybrook
