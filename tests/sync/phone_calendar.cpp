#include "sync/phone_calendar.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "ics/ics_terms.h"

namespace daybrook::sync_model {
namespace {

std::string ical_date(DayNumber day) {
    const CalendarDate date = day_to_calendar(day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", date.year, date.month, date.day);
    return text;
}

// The logical lines of a calendar file: folded lines joined, line ends dropped.
std::vector<std::string> unfolded_lines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !lines.empty()) lines.back() += line.substr(1);
        else lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::optional<DayNumber> day_of_ical_date(std::string_view value) {
    if (value.size() != 8 || !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int year = std::stoi(std::string(value.substr(0, 4)));
    const int month = std::stoi(std::string(value.substr(4, 2)));
    const int day = std::stoi(std::string(value.substr(6, 2)));
    return day_number_of(day, month, year - 1900);
}

// Reads one property line into the event; false for a start that is not a plain date.
bool read_property(const std::string& line, PhoneEvent& event) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) return true;
    const std::string name = line.substr(0, std::min(colon, line.find(';')));
    const std::string value = line.substr(colon + 1);
    if (name == "UID") event.uid = value;
    if (name == "SUMMARY") event.summary = value;
    if (name == "CATEGORIES") event.red = value.find(red_letter_category) != std::string::npos;
    if (name == "RRULE" && value.find("FREQ=WEEKLY") != std::string::npos) event.repeat = Repeat::weekly;
    if (name == "RRULE" && value.find("FREQ=YEARLY") != std::string::npos) event.repeat = Repeat::yearly;
    if (name != "DTSTART") return true;
    const std::optional<DayNumber> day = day_of_ical_date(value);
    if (day) event.day = *day;
    return day.has_value();
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::filesystem::path> vdir_items(const std::filesystem::path& vdir) {
    std::vector<std::filesystem::path> items;
    for (const auto& item : std::filesystem::directory_iterator(vdir)) {
        const std::string name = item.path().filename().string();
        if (name.front() != '.' && item.path().extension() == ".ics") items.push_back(item.path());
    }
    std::sort(items.begin(), items.end());
    return items;
}

}  // namespace

std::string trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string phone_event_text(const PhoneEvent& event) {
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Pocket//Phone Calendar 9.1//EN\r\n";
    text += "BEGIN:VEVENT\r\nUID:" + event.uid + "\r\nDTSTAMP:20261201T090000Z\r\n";
    text += "DTSTART;VALUE=DATE:" + ical_date(event.day) + "\r\nSUMMARY:" + event.summary + "\r\n";
    if (event.repeat == Repeat::weekly) text += "RRULE:FREQ=WEEKLY\r\n";
    if (event.repeat == Repeat::yearly) text += "RRULE:FREQ=YEARLY\r\n";
    if (event.red) text += "CATEGORIES:" + std::string(red_letter_category) + "\r\n";
    return text + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

void write_like_a_phone(const std::filesystem::path& vdir, const std::string& name, const std::string& text) {
    const std::filesystem::path temporary = vdir / ("." + name + ".part");
    std::ofstream(temporary, std::ios::binary | std::ios::trunc) << text;
    std::filesystem::rename(temporary, vdir / name);
}

std::optional<PhoneEvent> read_event(std::string_view text) {
    PhoneEvent event;
    bool started = false;
    for (const std::string& line : unfolded_lines(text)) {
        if (line.starts_with("DTSTART")) started = true;
        if (!read_property(line, event)) return std::nullopt;
    }
    if (!started) return std::nullopt;
    return event;
}

std::vector<DayNumber> occurrence_days(DayNumber start, Repeat repeat, DayNumber first, DayNumber last) {
    std::vector<DayNumber> days;
    if (repeat == Repeat::once && start >= first && start <= last) days.push_back(start);
    if (repeat == Repeat::weekly) {
        const DayNumber weeks_before = start < first ? (first - start + days_per_week - 1) / days_per_week : 0;
        for (DayNumber day = start + weeks_before * days_per_week; day <= last; day += days_per_week) days.push_back(day);
    }
    if (repeat == Repeat::yearly) {
        const CalendarDate date = day_to_calendar(start);
        for (int year = day_to_calendar(first).year; year <= day_to_calendar(last).year; ++year) {
            const DayNumber day = day_number_of(date.day, date.month, year - 1900);
            if (day >= start && day >= first && day <= last) days.push_back(day);
        }
    }
    return days;
}

std::vector<Occurrence> vdir_occurrences(const std::filesystem::path& vdir, DayNumber first, DayNumber last) {
    std::vector<Occurrence> found;
    for (const std::filesystem::path& item : vdir_items(vdir)) {
        const std::optional<PhoneEvent> event = read_event(read_file(item));
        if (!event) continue;
        for (DayNumber day : occurrence_days(event->day, event->repeat, first, last))
            found.push_back({day, trimmed(event->summary), event->red});
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::string vdir_item_with_summary(const std::filesystem::path& vdir, std::string_view summary) {
    for (const std::filesystem::path& item : vdir_items(vdir)) {
        const std::optional<PhoneEvent> event = read_event(read_file(item));
        if (event && trimmed(event->summary) == summary) return item.filename().string();
    }
    return {};
}

}  // namespace daybrook::sync_model
