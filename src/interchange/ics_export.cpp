#include "interchange/ics_export.h"

#include <sys/stat.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "interchange/ical_handle.h"
#include "interchange/ics_terms.h"
#include "interchange/windows_1252.h"

namespace daybrook {
namespace {

// FNV-1a over the file's name and every field of its record, each field closed by a zero byte.
std::uint64_t fingerprint(std::string_view name, const EntryRecord& record) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    const auto mix_byte = [&hash](unsigned char byte) {
        hash ^= byte;
        hash *= 0x100000001b3u;
    };
    const auto mix = [&mix_byte](std::string_view bytes) {
        for (char byte : bytes) mix_byte(static_cast<unsigned char>(byte));
        mix_byte(0);
    };
    mix(name);
    mix(record.text);
    mix(record.date);
    mix(std::to_string(record.yearly));
    mix(std::to_string(record.red));
    return hash;
}

std::string uid_of(std::string_view name, const EntryRecord& record) {
    char uid[64];
    std::snprintf(uid, sizeof uid, "%.*s-%016" PRIx64 "@daybrook", static_cast<int>(name.size()),
                  name.data(), fingerprint(name, record));
    return uid;
}

icaltimetype date_of(PlainDay day) {
    const CalendarDate calendar = day_to_calendar(static_cast<DayNumber>(day));
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

icalcomponent* event_of(const StoreDir& dir, const std::string& name, const EntryRecord& record) {
    const PlainDay day = plain_day_of(day_of_entry_name(name));
    icalcomponent* event = icalcomponent_new_vevent();
    icalcomponent_add_property(event, icalproperty_new_uid(uid_of(name, record).c_str()));
    icalcomponent_add_property(event, icalproperty_new_dtstamp(icaltime_from_timet_with_zone(
                                          last_written(dir, name), 0, icaltimezone_get_utc_timezone())));
    icalcomponent_add_property(event, icalproperty_new_dtstart(date_of(day)));
    icalcomponent_add_property(event, icalproperty_new_dtend(date_of(day + 1)));
    icalcomponent_add_property(
        event, icalproperty_new_summary(windows_1252_to_utf8(one_line(record.text)).c_str()));
    // Only an entry still to be carried over repeats. One already carried over (yearly -1) has
    // handed its repeat on to next year's copy, which is an entry of its own with a yearly rule
    // of its own; a rule on both would show every later year's occurrence twice in other
    // programs. It stays in the file as the single day it was.
    if (record.yearly == EntryRecord::yearly_pending) {
        icalrecurrencetype rule;
        icalrecurrencetype_clear(&rule);
        rule.freq = ICAL_YEARLY_RECURRENCE;
        icalcomponent_add_property(event, icalproperty_new_rrule(rule));
    }
    if (record.red != 0) {
        const std::string category(red_letter_category);
        icalcomponent_add_property(event, icalproperty_new_categories(category.c_str()));
    }
    // A memo takes no time of the day: other programs need not show the day as busy.
    icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    return event;
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

    for (const std::string& file : list_entry_files(dir)) {
        const auto record = read_entry(dir, file);
        if (!record) {
            result.unreadable.push_back(file);
            continue;
        }
        icalcomponent_add_component(calendar.get(), event_of(dir, file, *record));
        ++result.events;
    }
    result.text = text_of(calendar);
    return result;
}

EntryEvent entry_event(const StoreDir& dir, const std::string& name, const EntryRecord& record) {
    const IcalComponent calendar = new_calendar();
    icalcomponent_add_component(calendar.get(), event_of(dir, name, record));
    return {uid_of(name, record), text_of(calendar)};
}

}  // namespace daybrook
