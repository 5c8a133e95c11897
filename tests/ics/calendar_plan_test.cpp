#include "ics/calendar_plan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "ics/calendar_files.h"
#include "ics/ics_terms.h"
#include "ics/ics_import.h"
#include "support/environment_guard.h"
#include "support/temp_dir.h"
#include "support/typed_day.h"

namespace daybrook {
namespace {

using testing::EnvironmentGuard;
using testing::TempDir;

const DayNumber today = date_to_day("01/03/26");

CalendarPlan plan_in_utc(const std::string& text) {
    CalendarPlan plan;
    {
        const EnvironmentGuard guard(EnvironmentGuard::Values{{"TZ", "UTC0"}});
        plan = plan_calendar(text, today);
    }
    ::tzset();
    return plan;
}

// Each planned entry as "dd/mm/yy memo".
std::vector<std::string> entry_lines(const CalendarPlan& plan) {
    std::vector<std::string> lines;
    for (const PlannedEntry& entry : plan.entries) lines.push_back(day_to_date(entry.day) + " " + entry.record.text);
    return lines;
}

std::string nested(int depth, const std::string& begin, const std::string& end) {
    std::string text = "BEGIN:VCALENDAR\r\n";
    for (int i = 0; i < depth; ++i) text += begin;
    for (int i = 0; i < depth; ++i) text += end;
    return text + "END:VCALENDAR\r\n";
}

// libical frees a component tree by recursion: however the lines are written, a few hundred
// thousand nested components must be refused before libical builds them, or the stack overflows.
TEST(CalendarPlan, RefusesDeepNestingHoweverItsLinesAreWritten) {
    struct Case {
        const char* what;
        std::string text;
        const char* problem;
    };
    const Case cases[] = {
        {"each BEGIN folded", nested(300000, "BEG\r\n IN:X-A\r\n", "END:X-A\r\n"), "nest deeper than 40"},
        {"each BEGIN folded with a tab, LF line ends", nested(300000, "B\n\tEGIN:X-A\n", "END:X-A\n"),
         "nest deeper than 40"},
        {"each BEGIN and END folded", nested(300000, "BEGIN:X\r\n -A\r\n", "E\r\n ND:X-A\r\n"), "nest deeper than 40"},
        {"each BEGIN continuing an empty line", nested(300000, "\r\n BEGIN:X-A\r\n", "END:X-A\r\n"),
         "nest deeper than 40"},
        {"bare carriage returns for line ends", [] {
             std::string text = nested(300000, "BEGIN:X-A\r", "END:X-A\r");
             std::erase(text, '\n');
             return text;
         }(),
         "ends inside a VCALENDAR: the file seems cut short"},
    };
    for (const Case& c : cases) {
        EXPECT_THAT(plan_in_utc(c.text).error, ::testing::HasSubstr(c.problem)) << c.what;
        TempDir dir;
        const ImportReport trial = import_ics(dir.path(), c.text, today, {}, ImportMode::trial);
        EXPECT_THAT(trial.error, ::testing::HasSubstr(c.problem)) << c.what;
    }
}

TEST(CalendarPlan, ReadsComponentLinesWrittenOverFoldedLines) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> entries;
    };
    const Case cases[] = {
        {"the event's BEGIN and END folded",
         "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEG\r\n IN:VEV\r\n\tENT\r\nDTSTART;VALUE=DATE:20260310\r\n"
         "SUMMARY:Dent\r\n ist\r\nE\r\n ND:VEVENT\r\nEND:VCALENDAR\r\n",
         {"10/03/26 Dentist"}},
        {"a BEGIN folded after an empty line",
         "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n\r\n BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20260310\r\n"
         "SUMMARY:Dentist\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
         {"10/03/26 Dentist"}},
    };
    for (const Case& c : cases) {
        const CalendarPlan plan = plan_in_utc(c.text);
        EXPECT_EQ(plan.error, "") << c.what;
        EXPECT_EQ(entry_lines(plan), c.entries) << c.what;
    }
}

// A line of tens of megabytes costs time in proportion to its length: were it the square, this
// test would not end within its time.
TEST(CalendarPlan, PlansTheMemoOfAnEventWithLinesOfTwentyMegabytes) {
    const std::string start = "Dentist at ten, bring the forms and the card from the insurer and ";
    std::string summary = start;
    summary.resize(std::size_t{20} << 20, 'x');
    const std::string description(std::size_t{20} << 20, 'y');
    const CalendarPlan plan =
        plan_in_utc("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20260310\r\nSUMMARY:" + summary +
                    "\r\nDESCRIPTION:" + description + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    EXPECT_EQ(plan.error, "");
    EXPECT_EQ(entry_lines(plan), std::vector<std::string>{"10/03/26 " + start.substr(0, memo_limit)});
    ASSERT_EQ(plan.altered.size(), 1u);
    EXPECT_EQ(plan.altered[0].alteration, Alteration::memo_cut);
}

// A file's own zone places its times, unless no place has its offsets or rules.
TEST(CalendarPlan, PlacesTimesByTheFilesZonesOnlyWhereAPlaceCouldHaveThem) {
    const auto zone = [](const std::string& from, const std::string& to, const std::string& rule = "") {
        return "BEGIN:VTIMEZONE\nTZID:Own\nBEGIN:STANDARD\nDTSTART:19700101T000000\n" + rule + "TZOFFSETFROM:" +
               from + "\nTZOFFSETTO:" + to + "\nEND:STANDARD\nEND:VTIMEZONE\n";
    };
    const std::string event = "BEGIN:VEVENT\nDTSTART;TZID=Own:20260311T003000\nSUMMARY:Call\nEND:VEVENT\n";
    struct Case {
        const char* what;
        std::string zone;
        const char* day;  // on a machine in UTC
        std::size_t notes;
    };
    const Case cases[] = {
        {"an hour east of UTC: the evening before", zone("+0100", "+0100"), "10/03/26", 0},
        {"fourteen hours east, as Kiribati", zone("+1400", "+1400"), "10/03/26", 0},
        {"eighteen hours west, the most a place may have", zone("-1800", "-1800"), "11/03/26", 0},
        {"ninety-nine hours east: as written here", zone("+0100", "+9900"), "11/03/26", 1},
        {"a minute beyond eighteen hours east", zone("+1801", "+1801"), "11/03/26", 1},
        {"nineteen hours west, before its first change", zone("-1900", "+0100"), "11/03/26", 1},
        {"a change every minute", zone("+0100", "+0100", "RRULE:FREQ=MINUTELY\n"), "11/03/26", 1},
    };
    for (const Case& c : cases) {
        const CalendarPlan plan = plan_in_utc(calendar(c.zone + event));
        EXPECT_EQ(plan.error, "") << c.what;
        EXPECT_EQ(entry_lines(plan), std::vector<std::string>{std::string(c.day) + " Call"}) << c.what;
        EXPECT_EQ(plan.notes.size(), c.notes) << c.what;
    }
}

TEST(CalendarPlan, NamesTheEventsWhoseEntriesDifferFromThem) {
    const auto all_day = [](const std::string& summary) {
        return "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260310\nSUMMARY:" + summary + "\nEND:VEVENT\n";
    };
    using enum Alteration;
    struct Case {
        const char* what;
        std::string events;
        std::vector<Alteration> altered;
    };
    const Case cases[] = {
        {"kept as it is, accents and an escaped comma included", all_day("Caf\xC3\xA9 with Zo\xC3\xAB\\, Ann"), {}},
        {"sixty characters exactly", all_day(std::string(60, 'a')), {}},
        {"sixty-one characters", all_day(std::string(61, 'a')), {memo_cut}},
        {"spaces beyond sixty characters only", all_day(std::string(60, 'a') + "\\n  \\n"), {}},
        {"an emoji", all_day("\xF0\x9F\x8E\x82 Anna"), {characters_replaced}},
        {"a question mark of its own", all_day("Lunch?"), {}},
        {"a letter with an obvious plain spelling", all_day("\xC5\x81\xC3\xB3""d\xC5\xBA trip"), {}},
        {"two lines", all_day("Dentist\\nbring the forms"), {lines_joined}},
        {"a line break at its end only", all_day("Dentist\\n"), {}},
        {"a timed event", "BEGIN:VEVENT\nDTSTART:20260310T090000Z\nSUMMARY:Dentist\nEND:VEVENT\n", {time_dropped}},
        {"all of it",
         "BEGIN:VEVENT\nDTSTART:20260310T090000Z\nSUMMARY:\xF0\x9F\x8E\x82\\n" + std::string(70, 'a') +
             "\nEND:VEVENT\n",
         {characters_replaced, memo_cut, lines_joined, time_dropped}},
        {"past, so no entry says anything of it", "BEGIN:VEVENT\nDTSTART:20260210T090000Z\nSUMMARY:\xF0\x9F\x8E\x82"
                                                   "\nEND:VEVENT\n", {}},
    };
    for (const Case& c : cases) {
        const CalendarPlan plan = plan_in_utc(calendar(c.events));
        EXPECT_EQ(plan.error, "") << c.what;
        std::vector<Alteration> altered;
        for (const AlteredEvent& event : plan.altered) {
            EXPECT_EQ(event.summary, plan.summaries.at(0)) << c.what;
            altered.push_back(event.alteration);
        }
        EXPECT_EQ(altered, c.altered) << c.what;
    }
    TempDir dir;  // the import reports them as the plan names them
    const std::string two_lines = calendar(all_day("Dentist\\nbring the forms"));
    const ImportReport report = import_ics(dir.path(), two_lines, today, {}, ImportMode::trial);
    ASSERT_EQ(report.altered.size(), 1u);
    EXPECT_EQ(report.altered[0].summary, "Dentist bring the forms");
    EXPECT_EQ(report.altered[0].alteration, Alteration::lines_joined);
}

}  // namespace
}  // namespace daybrook
