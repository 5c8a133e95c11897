#include "ics/ics_export.h"

#include <sys/stat.h>

#include <ctime>
#include <map>

#include "ics/entry_uid.h"
#include "ics/ical_handle.h"
#include "ics/ics_terms.h"
#include "ics/windows_1252.h"

namespace daybrook {
namespace {

icaltimetype date_of(PlainDay day) {
    const CalendarDate calendar = plain_day_to_calendar(day);
    icaltimetype date = icaltime_null_date();
    date.year = calendar.year;
    date.month = calendar.month;
    date.day = calendar.day;
    return date;
}

// When the entry's file was last written; the time of the export when that cannot be told.
std::time_t last_written(const StoreDir& dir, const std::string& name) {
    struct stat status {};
    if (::stat((dir / name).c_str(), &status) == 0) return status.st_mtime;
    return std::time(nullptr);
}

icalproperty* yearly_rule() {
    icalrecurrencetype rule;
    icalrecurrencetype_clear(&rule);
    rule.freq = ICAL_YEARLY_RECURRENCE;
    return icalproperty_new_rrule(rule);
}

icalcomponent* event_of(const StoreDir& dir, const std::string& name, const EntryRecord& record,
                        const std::string& uid) {
    const PlainDay day = plain_day_of(day_of_entry_name(name));
    icalcomponent* event = icalcomponent_new_vevent();
    icalcomponent_add_property(event, icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(event, icalproperty_new_dtstamp(icaltime_from_timet_with_zone(
                                          last_written(dir, name), 0, icaltimezone_get_utc_timezone())));
    icalcomponent_add_property(event, icalproperty_new_dtstart(date_of(day)));
    icalcomponent_add_property(event, icalproperty_new_dtend(date_of(day + 1)));
    icalcomponent_add_property(
        event, icalproperty_new_summary(windows_1252_to_utf8(one_line(record.text)).c_str()));
    // Only an entry still to be carried over repeats. One already carried over (yearly -1) has
    // handed its repeat on to next year's copy (see add_to_event).
    if (record.yearly == EntryRecord::yearly_pending) icalcomponent_add_property(event, yearly_rule());
    if (record.red != 0) {
        const std::string category(red_letter_category);
        icalcomponent_add_property(event, icalproperty_new_categories(category.c_str()));
    }
    // A memo takes no time of the day: other programs need not show the day as busy.
    icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    return event;
}

// A yearly entry and its renewed copies share one UID and are one event, which starts on the
// earliest of them: a later copy still to be carried over makes it repeat every year, one that
// was carried over adds its own day, as the copies stand in the store.
void add_to_event(icalcomponent* event, const std::string& name, const EntryRecord& record) {
    if (icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY)) return;
    if (record.yearly == EntryRecord::yearly_pending) {
        icalcomponent_add_property(event, yearly_rule());
        return;
    }
    icaldatetimeperiodtype day{};
    day.time = date_of(plain_day_of(day_of_entry_name(name)));
    day.period = icalperiodtype_null_period();
    icalcomponent_add_property(event, icalproperty_new_rdate(day));
}

IcalComponent new_calendar() {
    IcalComponent calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Daybrook//Daybrook diary//EN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    icalproperty* name = icalproperty_new_x("Daybrook");
    icalproperty_set_x_name(name, "X-WR-CALNAME");
    icalcomponent_add_property(calendar.get(), name);
    return calendar;
}

std::string text_of(const IcalComponent& calendar) {
    const IcalBuffer text(icalcomponent_as_ical_string_r(calendar.get()));
    return text ? std::string(text.get()) : std::string();
}

}  // namespace

IcsExport export_ics(const StoreDir& dir) {
    IcsExport result;
    const IcalComponent calendar = new_calendar();
    EntryUids uids;
    std::map<std::string, icalcomponent*> events;  // by UID
    for (const std::string& file : list_entry_files(dir)) {
        const auto record = read_entry(dir, file);
        if (!record) {
            result.unreadable.push_back(file);
            continue;
        }
        const std::string uid = uids(file, *record);
        if (const auto found = events.find(uid); found != events.end()) {
            add_to_event(found->second, file, *record);
            continue;
        }
        icalcomponent* event = event_of(dir, file, *record, uid);
        icalcomponent_add_component(calendar.get(), event);
        events.emplace(uid, event);
        ++result.events;
    }
    result.text = text_of(calendar);
    return result;
}

EntryEvent entry_event(const StoreDir& dir, const std::string& name, const EntryRecord& record) {
    const IcalComponent calendar = new_calendar();
    const std::string uid = store_entry_uid(dir, name, record);
    icalcomponent_add_component(calendar.get(), event_of(dir, name, record, uid));
    return {uid, text_of(calendar)};
}

}  // namespace daybrook
