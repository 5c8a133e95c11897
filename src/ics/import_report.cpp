#include "ics/import_report.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace daybrook {

std::string report_date(PlainDay day) {
    const CalendarDate date = plain_day_to_calendar(day);
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", date.day, date.month, date.year);
    return text;
}

std::string_view reason_text(SkipReason reason) {
    switch (reason) {
        case SkipReason::past: return "it lies in the past";
        case SkipReason::beyond_diary: return "it lies after 31/12/2050, the diary's last day";
        case SkipReason::beyond_horizon: return "it repeats without end and first occurs after the import's last day";
        case SkipReason::day_full: return "the day already holds ten entries";
        case SkipReason::already_there: return "the day holds this entry already";
        case SkipReason::blank: return "its summary holds nothing the diary can show";
        case SkipReason::no_date: return "it has no start date";
        case SkipReason::unreadable_dates: return "its dates or its repeat rule cannot be read";
        case SkipReason::no_occurrence: return "every occurrence of it is excluded";
        case SkipReason::cancelled: return "it is cancelled";
        case SkipReason::not_an_event: return "it is not an event";
        case SkipReason::too_many: return "its repeats go beyond the entries one event may add";
        case SkipReason::file_limit: return "the file gives more than the 20000 entries one import adds";
        case SkipReason::repeats_within_a_day: return "its repeats within a day are not followed, only its start";
        case SkipReason::write_failed: return "the entry file could not be written";
    }
    return "unknown";
}

std::string describe(const SkippedItem& item) {
    std::string line;
    if (!item.date.empty()) line = item.date + " ";
    line += item.summary.empty() ? std::string("(no summary)") : "\"" + item.summary + "\"";
    line += ": ";
    line += reason_text(item.reason);
    return line;
}

std::string describe(const OpenRepeat& repeat) {
    std::string line = "\"" + repeat.summary + "\": " + std::to_string(repeat.occurrences);
    line += repeat.occurrences == 1 ? " occurrence" : " occurrences";
    return line + " up to " + repeat.until + " (it repeats without end)";
}

std::string_view alteration_text(Alteration alteration) {
    switch (alteration) {
        case Alteration::characters_replaced: return "characters the diary cannot hold became ?";
        case Alteration::memo_cut: return "its summary was cut to the length of a memo";
        case Alteration::lines_joined: return "its lines were joined into one";
        case Alteration::time_dropped: return "its time of day was dropped";
    }
    return "it was altered";
}

std::string describe(const AlteredEvent& event) { return "\"" + event.summary + "\": " + std::string(alteration_text(event.alteration)); }

std::string altered_summary(const std::vector<AlteredEvent>& altered) {
    constexpr Alteration kinds[] = {Alteration::time_dropped, Alteration::characters_replaced, Alteration::memo_cut,
                                    Alteration::lines_joined};
    // What happened to one event, and to several.
    constexpr std::string_view phrases[][2] = {{"lost its time of day", "lost their time of day"},
                                               {"had characters the diary cannot hold shown as ?",
                                                "had characters the diary cannot hold shown as ?"},
                                               {"had its summary cut to a memo's length", "had their summaries cut to a memo's length"},
                                               {"had its lines joined", "had their lines joined"}};
    std::string line;
    for (std::size_t k = 0; k < std::size(kinds); ++k) {
        const auto count = std::count_if(altered.begin(), altered.end(),
                                         [&](const AlteredEvent& event) { return event.alteration == kinds[k]; });
        if (count == 0) continue;
        line += (line.empty() ? "" : "; ") + std::to_string(count) + (count == 1 ? " event " : " events ");
        line += phrases[k][count == 1 ? 0 : 1];
    }
    return line;
}

}  // namespace daybrook
