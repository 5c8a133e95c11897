// Calendar files for tests, and the store and an import report as lines that read at a glance.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ics/ics_import.h"
#include "store/entry_files.h"

namespace daybrook {

// Each entry of the store as "dd/mm/yy memo", with " [red]" and " [yearly]" (or " [renewed]")
// after it, in file order. The date is the one the file's name gives, and must agree with the
// record's own.
inline std::vector<std::string> store_lines(const StoreDir& dir) {
    std::vector<std::string> lines;
    for (const std::string& name : list_entry_files(dir)) {
        const auto record = read_entry(dir, name);
        if (!record) {
            lines.push_back(name + " unreadable");
            continue;
        }
        std::string line = day_to_date(day_of_entry_name(name));
        if (line != record->date) line += " (record: " + record->date + ")";
        line += " " + record->text;
        if (record->red) line += " [red]";
        if (record->yearly == EntryRecord::yearly_pending) line += " [yearly]";
        if (record->yearly == EntryRecord::yearly_renewed) line += " [renewed]";
        lines.push_back(line);
    }
    return lines;
}

inline std::string_view short_name(SkipReason reason) {
    switch (reason) {
        case SkipReason::past: return "past";
        case SkipReason::beyond_diary: return "beyond";
        case SkipReason::beyond_horizon: return "after horizon";
        case SkipReason::day_full: return "full";
        case SkipReason::already_there: return "there";
        case SkipReason::blank: return "blank";
        case SkipReason::no_date: return "no date";
        case SkipReason::unreadable_dates: return "unreadable";
        case SkipReason::no_occurrence: return "no occurrence";
        case SkipReason::cancelled: return "cancelled";
        case SkipReason::not_an_event: return "not an event";
        case SkipReason::too_many: return "too many";
        case SkipReason::file_limit: return "file limit";
        case SkipReason::repeats_within_a_day: return "within a day";
        case SkipReason::write_failed: return "write failed";
    }
    return "?";
}

// Each skipped item as "reason dd/mm/yyyy", or the reason alone when it names no day.
inline std::vector<std::string> skip_lines(const ImportReport& report) {
    std::vector<std::string> lines;
    for (const SkippedItem& item : report.skipped)
        lines.push_back(std::string(short_name(item.reason)) + (item.date.empty() ? "" : " " + item.date));
    return lines;
}

// A calendar file around the given lines, with the CRLF line ends calendar programs write.
inline std::string calendar(std::string_view body) {
    std::string text = "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Example//Planner 4.2//EN\n";
    text += body;
    text += "END:VCALENDAR\n";
    std::string crlf;
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return crlf;
}

}  // namespace daybrook
