#include "ics/ics_import.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ics/calendar_files.h"
#include "store/memo.h"
#include "support/environment_guard.h"
#include "support/permissions_bite.h"
#include "support/temp_dir.h"
#include "support/typed_day.h"

namespace daybrook {
namespace {

using testing::EnvironmentGuard;
using testing::PermissionsBite;
using testing::TempDir;

const DayNumber today = date_to_day("01/03/26");  // a Sunday
// Central European time, without depending on the machine's zone files.
constexpr const char* berlin = "CET-1CEST,M3.5.0,M10.5.0/3";

ImportReport import_in_zone(const StoreDir& dir, const std::string& text, const char* zone,
                            const ImportLimits& limits = {}) {
    ImportReport report;
    {
        const EnvironmentGuard guard(EnvironmentGuard::Values{{"TZ", zone}});
        report = import_ics(dir, text, today, limits);
    }
    ::tzset();
    return report;
}

TEST(IcsImport, MakesEntriesOfTheEventsCalendarProgramsWrite) {
    struct Case {
        const char* what;
        std::string ics;
        std::vector<std::string> entries;
        std::vector<std::string> skipped;
    };
    const Case cases[] = {
        {"a web calendar: folded and escaped summary, yearly birthdays, a moved occurrence",
         "BEGIN:VCALENDAR\r\n"
         "PRODID:-//Google Inc//Google Calendar 70.9054//EN\r\n"
         "VERSION:2.0\r\n"
         "CALSCALE:GREGORIAN\r\n"
         "METHOD:PUBLISH\r\n"
         "X-WR-CALNAME:Family\r\n"
         "BEGIN:VEVENT\r\n"
         "DTSTART;VALUE=DATE:20260314\r\n"
         "DTEND;VALUE=DATE:20260315\r\n"
         "DTSTAMP:20260201T101010Z\r\n"
         "UID:0a1b2c3d4e5f@google.com\r\n"
         "DESCRIPTION:Bring the big dish\\, please\r\n"
         "STATUS:CONFIRMED\r\n"
         "SUMMARY:Dinner with Zoë\\, Ann\\; bring café\\nand\r\n"
         "  wine\r\n"
         "CATEGORIES:Holiday,red-letter day\r\n"
         "TRANSP:TRANSPARENT\r\n"
         "END:VEVENT\r\n"
         "BEGIN:VEVENT\r\n"
         "DTSTART;VALUE=DATE:19900415\r\n"
         "DTEND;VALUE=DATE:19900416\r\n"
         "RRULE:FREQ=YEARLY\r\n"
         "UID:anna@google.com\r\n"
         "SUMMARY:Anna's birthday\r\n"
         "END:VEVENT\r\n"
         "BEGIN:VEVENT\r\n"
         "DTSTART;VALUE=DATE:19850115\r\n"
         "RRULE:FREQ=YEARLY\r\n"
         "UID:tom@google.com\r\n"
         "SUMMARY:Tom's birthday\r\n"
         "END:VEVENT\r\n"
         // A birthday that falls today is today's entry, not next year's.
         "BEGIN:VEVENT\r\n"
         "DTSTART;VALUE=DATE:19800301\r\n"
         "RRULE:FREQ=YEARLY\r\n"
         "UID:own@google.com\r\n"
         "SUMMARY:Own birthday\r\n"
         "END:VEVENT\r\n"
         "BEGIN:VEVENT\r\n"
         "DTSTART:20260304T180000Z\r\n"
         "RRULE:FREQ=WEEKLY;COUNT=3\r\n"
         "UID:choir@google.com\r\n"
         "SUMMARY:Choir\r\n"
         "END:VEVENT\r\n"
         "BEGIN:VEVENT\r\n"
         "DTSTART:20260312T180000Z\r\n"
         "RECURRENCE-ID:20260311T180000Z\r\n"
         "UID:choir@google.com\r\n"
         "SUMMARY:Choir (moved)\r\n"
         "END:VEVENT\r\n"
         "END:VCALENDAR\r\n",
         {"01/03/26 Own birthday [yearly]", "04/03/26 Choir", "12/03/26 Choir (moved)",
          "14/03/26 Dinner with Zo\xEB, Ann; bring caf\xE9 and wine [red]", "18/03/26 Choir",
          "15/04/26 Anna's birthday [yearly]", "15/01/27 Tom's birthday [yearly]"},
         {}},
        {"a desktop mail program: a time zone of its own, a long summary, a yearly rule by parts",
         "BEGIN:VCALENDAR\r\n"
         "PRODID:-//Microsoft Corporation//Outlook 16.0 MIMEDIR//EN\r\n"
         "VERSION:2.0\r\n"
         "METHOD:PUBLISH\r\n"
         "BEGIN:VTIMEZONE\r\n"
         "TZID:Pacific Standard Time\r\n"
         "BEGIN:STANDARD\r\n"
         "DTSTART:16011104T020000\r\n"
         "RRULE:FREQ=YEARLY;BYDAY=1SU;BYMONTH=11\r\n"
         "TZOFFSETFROM:-0700\r\n"
         "TZOFFSETTO:-0800\r\n"
         "END:STANDARD\r\n"
         "BEGIN:DAYLIGHT\r\n"
         "DTSTART:16010311T020000\r\n"
         "RRULE:FREQ=YEARLY;BYDAY=2SU;BYMONTH=3\r\n"
         "TZOFFSETFROM:-0800\r\n"
         "TZOFFSETTO:-0700\r\n"
         "END:DAYLIGHT\r\n"
         "END:VTIMEZONE\r\n"
         "BEGIN:VEVENT\r\n"
         "CLASS:PUBLIC\r\n"
         "DTEND;TZID=\"Pacific Standard Time\":20260310T210000\r\n"
         "DTSTAMP:20260220T120000Z\r\n"
         "DTSTART;TZID=\"Pacific Standard Time\":20260310T200000\r\n"
         "SUMMARY;LANGUAGE=en-us:Call with the Seattle office about the quarterly fi\r\n"
         " gures and next year's plan\r\n"
         "UID:040000008200E00074C5B7101A82E0080000000010C2\r\n"
         "X-MICROSOFT-CDO-BUSYSTATUS:BUSY\r\n"
         "BEGIN:VALARM\r\n"
         "TRIGGER:-PT15M\r\n"
         "ACTION:DISPLAY\r\n"
         "DESCRIPTION:Reminder\r\n"
         "END:VALARM\r\n"
         "END:VEVENT\r\n"
         "BEGIN:VEVENT\r\n"
         "DTSTART;VALUE=DATE:19801206\r\n"
         "DTEND;VALUE=DATE:19801207\r\n"
         "RRULE:FREQ=YEARLY;BYMONTHDAY=6;BYMONTH=12\r\n"
         "SUMMARY:Wedding anniversary\r\n"
         "CATEGORIES:Red Letter Day\r\n"
         "UID:wedding\r\n"
         "END:VEVENT\r\n"
         "END:VCALENDAR\r\n",
         // 20:00 in California is 04:00 the next morning in Berlin.
         {"11/03/26 Call with the Seattle office about the quarterly figures and",
          "06/12/26 Wedding anniversary [red] [yearly]"},
         {}},
        {"times: UTC and floating, several days all day and timed, the past and beyond 2050",
         calendar("BEGIN:VEVENT\nUID:1\nDTSTART:20260320T233000Z\nDTEND:20260321T003000Z\n"
                  "SUMMARY:Night train\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:2\nDTSTART:20260320T233000\nSUMMARY:Floating note\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:3\nDTSTART;VALUE=DATE:20260330\nDTEND;VALUE=DATE:20260402\n"
                  "SUMMARY:Easter trip\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:4\nDTSTART;VALUE=DATE:20260227\nDURATION:P4D\n"
                  "SUMMARY:Ski week\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:5\nDTSTART:20260305T090000Z\nDTEND:20260307T170000Z\n"
                  "SUMMARY:Conference\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:6\nDTSTART;VALUE=DATE:20260210\nSUMMARY:Last month\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:7\nDTSTART;VALUE=DATE:20510101\nSUMMARY:Far ahead\nEND:VEVENT\n"),
         {"01/03/26 Ski week", "02/03/26 Ski week", "05/03/26 Conference", "20/03/26 Floating note",
          "21/03/26 Night train", "30/03/26 Easter trip", "31/03/26 Easter trip",
          "01/04/26 Easter trip"},
         {"past 10/02/2026", "beyond 01/01/2051"}},
        {"repeats: counts, exclusions, ends, a past start, yearly with a count, 29 February",
         calendar("BEGIN:VEVENT\nUID:1\nDTSTART;VALUE=DATE:20260302\nRRULE:FREQ=WEEKLY;COUNT=4\n"
                  "EXDATE;VALUE=DATE:20260309\nSUMMARY:Swimming\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:2\nDTSTART;VALUE=DATE:20260216\nRRULE:FREQ=WEEKLY;COUNT=4\n"
                  "SUMMARY:Course\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:3\nDTSTART;VALUE=DATE:20260227\n"
                  "RRULE:FREQ=MONTHLY;BYDAY=-1FR;UNTIL=20260601\nSUMMARY:Payday\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:4\nDTSTART;VALUE=DATE:20250701\nRRULE:FREQ=YEARLY;COUNT=3\n"
                  "SUMMARY:Festival\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:5\nDTSTART;VALUE=DATE:20240229\nRRULE:FREQ=YEARLY\n"
                  "SUMMARY:Leap day\nEND:VEVENT\n"
                  // An hourly rule that never matches would keep libical searching for ever.
                  "BEGIN:VEVENT\nUID:6\nDTSTART:20260303T090000Z\n"
                  "RRULE:FREQ=HOURLY;BYMONTH=2;BYMONTHDAY=30\nSUMMARY:Stand-up\nEND:VEVENT\n"),
         {"02/03/26 Swimming", "02/03/26 Course", "03/03/26 Stand-up", "09/03/26 Course", "16/03/26 Swimming",
          "23/03/26 Swimming", "27/03/26 Payday", "24/04/26 Payday", "29/05/26 Payday",
          "01/07/26 Festival", "01/07/27 Festival", "29/02/28 Leap day", "29/02/32 Leap day",
          "29/02/36 Leap day", "29/02/40 Leap day", "29/02/44 Leap day", "29/02/48 Leap day"},
         {"within a day"}},
        {"summaries the code page cannot hold, and what makes no entry",
         calendar("BEGIN:VEVENT\nUID:1\nDTSTART;VALUE=DATE:20260310\nSUMMARY:🎂 Anna\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:2\nDTSTART;VALUE=DATE:20260310\nSUMMARY:Γιορτή party\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:3\nDTSTART;VALUE=DATE:20260310\nSUMMARY:🎉🎉\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:4\nDTSTART;VALUE=DATE:20260310\nSUMMARY:   \nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:5\nDTSTART;VALUE=DATE:20260310\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:6\nSUMMARY:Someday\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:7\nDTSTART;VALUE=DATE:20260310\nSTATUS:CANCELLED\n"
                  "SUMMARY:Lunch\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:8\nDTSTART;VALUE=DATE:20260310\nRRULE:FREQ=FORTNIGHTLY\n"
                  "SUMMARY:Bins\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nUID:9\nDTSTART;VALUE=DATE:20260310\nRRULE:FREQ=DAILY;COUNT=1\n"
                  "EXDATE;VALUE=DATE:20260310\nSUMMARY:Dropped\nEND:VEVENT\n"
                  "BEGIN:VTODO\nUID:10\nSUMMARY:Buy milk\nEND:VTODO\n"
                  "BEGIN:VJOURNAL\nUID:11\nDTSTART;VALUE=DATE:20260310\nSUMMARY:Notes\nEND:VJOURNAL\n"),
         {"10/03/26 ? Anna", "10/03/26 ?????? party"},
         {"blank", "blank", "blank", "no date", "cancelled", "unreadable", "no occurrence 10/03/2026",
          "not an event", "not an event"}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const ImportReport report = import_in_zone(dir.path(), c.ics, berlin);
        EXPECT_EQ(report.error, "") << c.what;
        EXPECT_EQ(store_lines(dir.path()), c.entries) << c.what;
        EXPECT_EQ(report.added.size(), c.entries.size()) << c.what;
        EXPECT_EQ(skip_lines(report), c.skipped) << c.what;
    }
}

TEST(IcsImport, RefusesAFileThatIsNoWholeCalendarAndWritesNothing) {
    const std::string event = "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20260310\r\nSUMMARY:Dentist\r\nEND:VEVENT\r\n";
    const std::string whole = calendar("BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260310\nSUMMARY:Dentist\nEND:VEVENT\n");
    struct Case { const char* what; std::string text; };
    const Case cases[] = {
        {"empty", ""},
        {"blank lines", "\r\n \r\n"},
        {"not iCalendar", "Dentist on 10 March\nLunch on 12 March\n"},
        {"a contact card", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna\r\nEND:VCARD\r\n"},
        {"an event without its calendar", event},
        {"cut inside an event", whole.substr(0, whole.find("SUMMARY:Den") + 11)},
        {"cut before the calendar's end", whole.substr(0, whole.find("END:VCALENDAR"))},
        {"cut inside a second calendar", whole + "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMM"},
        {"mismatched ends", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nEND:VTODO\r\nEND:VCALENDAR\r\n"},
        // Each nested level costs libical a frame when it frees the tree: this would overflow the stack.
        {"nested three hundred thousand deep",
         [] {
             std::string deep = "BEGIN:VCALENDAR\r\n";
             for (int i = 0; i < 300000; ++i) deep += "BEGIN:X-DEEP\r\n";
             for (int i = 0; i < 300000; ++i) deep += "END:X-DEEP\r\n";
             return deep + "END:VCALENDAR\r\n";
         }()},
        {"a zero byte", whole.substr(0, 20) + std::string(1, '\0') + whole.substr(20)},
    };
    for (const Case& c : cases) {
        TempDir dir;
        ASSERT_EQ(add_entry(dir.path(), date_to_day("10/03/26"), Memo("Dentist")).error, StoreError::none);
        const auto before = dir.names();
        const ImportReport report = import_in_zone(dir.path(), c.text, "UTC0");
        EXPECT_NE(report.error, "") << c.what;
        EXPECT_TRUE(report.added.empty() && report.skipped.empty()) << c.what;
        EXPECT_EQ(dir.names(), before) << c.what;
    }
    TempDir dir;  // the same event, whole, is read
    EXPECT_EQ(import_in_zone(dir.path(), whole, "UTC0").added.size(), 1u);
}

TEST(IcsImport, CountsTheEntriesAlreadyThereAndKeepsToTenADay) {
    const DayNumber day = date_to_day("10/03/26");
    const auto event = [](const std::string& summary, const std::string& extra = "") {
        return "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260310\nSUMMARY:" + summary + "\n" + extra + "END:VEVENT\n";
    };
    const auto store_of = [](int count) {
        std::vector<EntryRecord> records;
        for (int i = 0; i < count; ++i) records.push_back(Memo("Note " + std::to_string(i)));
        return records;
    };
    struct Case {
        const char* what;
        std::vector<EntryRecord> existing;  // on 10/03/26
        std::string ics;
        std::vector<int> added;  // by each import of the file in turn
        std::vector<std::string> last_skipped;
        ImportLimits limits = {};
    };
    const Case cases[] = {
        {"a full day", store_of(10), calendar(event("Dentist")), {0}, {"full 10/03/2026"}},
        {"one slot left", store_of(9), calendar(event("Dentist") + event("Lunch")), {1, 0},
         {"there 10/03/2026", "full 10/03/2026"}},
        {"the same event twice in one file, imported twice",
         {}, calendar(event("Dentist") + event("Dentist")), {2, 0}, {"there 10/03/2026", "there 10/03/2026"}},
        {"one of two alike already there", {Memo("Dentist")}, calendar(event("Dentist") + event("Dentist")),
         {1, 0}, {"there 10/03/2026", "there 10/03/2026"}},
        {"alike but for the red letter", {Memo("Dentist")},
         calendar(event("Dentist", "CATEGORIES:Red Letter Day\n")), {1, 0}, {"there 10/03/2026"}},
        {"a longer memo of the diary's own, cut as the import cuts it",
         {Memo("Sixty characters are all that a memo from a calendar keeps, no more")},
         calendar(event("Sixty characters are all that a memo from a calendar keeps, no more")), {0},
         {"there 10/03/2026"}},
        {"a daily repeat without end", {},
         calendar("BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260310\nRRULE:FREQ=DAILY\nSUMMARY:Pills\nEND:VEVENT\n"),
         {5}, {"too many 15/03/2026"}, {.per_event = 5}},
        {"more entries than a file may make", {},
         calendar("BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260303\nRRULE:FREQ=WEEKLY;COUNT=3\n"
                  "SUMMARY:Yoga\nEND:VEVENT\n" + event("Dentist")),
         {3}, {"file limit 10/03/2026"}, {.per_file = 3}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const EntryRecord& record : c.existing)
            ASSERT_EQ(add_entry(dir.path(), day, record).error, StoreError::none);
        ImportReport report;
        for (std::size_t run = 0; run < c.added.size(); ++run) {
            report = import_in_zone(dir.path(), c.ics, "UTC0", c.limits);
            EXPECT_EQ(static_cast<int>(report.added.size()), c.added[run]) << c.what << ", import " << run + 1;
        }
        EXPECT_EQ(skip_lines(report), c.last_skipped) << c.what;
        EXPECT_LE(day_entries(dir.path(), day).size(), std::size_t{slots_per_day}) << c.what;
    }
}

TEST(IcsImport, ReadsWhatCalendarProgramsWriteAroundTheirEvents) {
    // Lotus Notes names its zones in its own way and gives each change a time by BYHOUR and
    // BYMINUTE, from 1950 on.
    const std::string lotus_zone =
        "BEGIN:VTIMEZONE\nTZID:Western/Central Europe\n"
        "BEGIN:STANDARD\nDTSTART:19501029T030000\nTZOFFSETFROM:+0200\nTZOFFSETTO:+0100\n"
        "RRULE:FREQ=YEARLY;BYMINUTE=0;BYHOUR=3;BYDAY=-1SU;BYMONTH=10\nEND:STANDARD\n"
        "BEGIN:DAYLIGHT\nDTSTART:19500326T020000\nTZOFFSETFROM:+0100\nTZOFFSETTO:+0200\n"
        "RRULE:FREQ=YEARLY;BYMINUTE=0;BYHOUR=2;BYDAY=-1SU;BYMONTH=3\nEND:DAYLIGHT\nEND:VTIMEZONE\n";
    // libical would work out this zone's changes minute by minute since 1601.
    const std::string odd_zone =
        "BEGIN:VTIMEZONE\nTZID:Odd\nBEGIN:STANDARD\nDTSTART:16010101T000000\n"
        "RRULE:FREQ=MINUTELY\nTZOFFSETFROM:+0100\nTZOFFSETTO:+0100\nEND:STANDARD\nEND:VTIMEZONE\n";
    struct Case {
        const char* what;
        std::string ics;
        std::vector<std::string> entries;  // in a machine on UTC
        std::vector<std::string> skipped;
        std::size_t notes = 0;
    };
    const Case cases[] = {
        {"a zone of the file's own, in winter and in summer: 00:30 there is the evening before in UTC",
         calendar(lotus_zone +
                  "BEGIN:VEVENT\nDTSTART;TZID=\"Western/Central Europe\":20260311T003000\nSUMMARY:Early call\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nDTSTART;TZID=\"Western/Central Europe\":20260701T013000\nSUMMARY:Summer call\nEND:VEVENT\n"),
         {"10/03/26 Early call", "30/06/26 Summer call"}, {}},
        {"a zone that cannot be used places its events by the machine's zone, and no others",
         calendar(odd_zone + lotus_zone +
                  "BEGIN:VEVENT\nDTSTART;TZID=Odd:20260311T003000\nRRULE:FREQ=DAILY;COUNT=2\nSUMMARY:Dentist\nEND:VEVENT\n"
                  "BEGIN:VEVENT\nDTSTART;TZID=\"Western/Central Europe\":20260311T003000\nSUMMARY:Early call\nEND:VEVENT\n"),
         {"10/03/26 Early call", "11/03/26 Dentist", "12/03/26 Dentist"}, {}, 1},
        {"custom components inside an event, and beside the events",
         calendar("BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260312\nSUMMARY:Concert\n"
                  "BEGIN:X-VENDOR-SEATING\nX-SEAT:12A\nBEGIN:X-ROW\nEND:X-ROW\nEND:X-VENDOR-SEATING\n"
                  "BEGIN:UNHEARD-OF\nEND:UNHEARD-OF\nEND:VEVENT\n"
                  "BEGIN:X-WR-GROUP\nBEGIN:X-INNER\nEND:X-INNER\nEND:X-WR-GROUP\n"
                  "BEGIN:UNHEARD-OF\nEND:UNHEARD-OF\n"),
         {"12/03/26 Concert"}, {"not an event", "not an event"}},
        {"a comment line after the calendar's end",
         calendar("BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260312\nSUMMARY:Concert\nEND:VEVENT\n") +
             "# generated by the server at 10:02\r\n\r\n",
         {"12/03/26 Concert"}, {}, 1},
        {"extra dates and left-out dates, all day and over several days",
         calendar("BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260302\nDTEND;VALUE=DATE:20260304\n"
                  "RRULE:FREQ=WEEKLY;COUNT=3\nEXDATE;VALUE=DATE:20260309\n"
                  "RDATE;VALUE=DATE:20260320,20260401\nSUMMARY:Course\nEND:VEVENT\n"),
         {"02/03/26 Course", "03/03/26 Course", "16/03/26 Course", "17/03/26 Course", "20/03/26 Course",
          "21/03/26 Course", "01/04/26 Course", "02/04/26 Course"},
         {}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const ImportReport report = import_in_zone(dir.path(), c.ics, "UTC0");
        EXPECT_EQ(report.error, "") << c.what;
        EXPECT_EQ(store_lines(dir.path()), c.entries) << c.what;
        EXPECT_EQ(skip_lines(report), c.skipped) << c.what;
        EXPECT_EQ(report.notes.size(), c.notes) << c.what;
        EXPECT_TRUE(report.succeeded()) << c.what;
    }
}

TEST(IcsImport, FollowsEndlessRepeatsToTheHorizonAndATrialWritesNothing) {
    const auto event = [](const std::string& start, const std::string& rule) {
        return calendar("BEGIN:VEVENT\nDTSTART;VALUE=DATE:" + start + "\nRRULE:" + rule + "\nSUMMARY:Choir\nEND:VEVENT\n");
    };
    struct Case {
        const char* what;
        std::string ics;
        std::optional<DayNumber> until;
        std::size_t entries;
        std::vector<std::string> open;  // the report's lines for endless repeats
        std::vector<std::string> skipped;
    };
    const Case cases[] = {
        {"weekly without end: a year", event("20260304", "FREQ=WEEKLY"), {}, 52,
         {"\"Choir\": 52 occurrences up to 01/03/2027 (it repeats without end)"}, {}},
        {"weekly without end, to a chosen day", event("20260304", "FREQ=WEEKLY"), date_to_day("27/05/26"), 13,
         {"\"Choir\": 13 occurrences up to 27/05/2026 (it repeats without end)"}, {}},
        {"daily since long ago: every day of the year, both ends", event("20200101", "FREQ=DAILY"), {}, 366,
         {"\"Choir\": 366 occurrences up to 01/03/2027 (it repeats without end)"}, {}},
        {"to a chosen day beyond what one event adds", event("20260301", "FREQ=DAILY"), date_to_day("31/12/27"), 366,
         {"\"Choir\": 366 occurrences up to 01/03/2027 (it repeats without end)"}, {"too many 02/03/2027"}},
        {"a count is followed beyond the horizon", event("20260304", "FREQ=WEEKLY;COUNT=60"), {}, 60, {}, {}},
        {"yearly stays one entry", event("19900415", "FREQ=YEARLY"), {}, 1, {}, {}},
        {"first after the horizon", event("20280105", "FREQ=WEEKLY"), {}, 0, {}, {"after horizon 05/01/2028"}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const ImportLimits limits{.until = c.until};
        const auto run = [&](ImportMode mode) {
            const EnvironmentGuard guard(EnvironmentGuard::Values{{"TZ", "UTC0"}});
            return import_ics(dir.path(), c.ics, today, limits, mode);
        };
        const ImportReport trial = run(ImportMode::trial);
        EXPECT_TRUE(dir.names().empty()) << c.what;
        const ImportReport written = run(ImportMode::write);
        ::tzset();
        EXPECT_EQ(written.added.size(), c.entries) << c.what;
        EXPECT_EQ(skip_lines(written), c.skipped) << c.what;
        std::vector<std::string> open;
        for (const OpenRepeat& repeat : written.open_repeats) open.push_back(describe(repeat));
        EXPECT_EQ(open, c.open) << c.what;
        ASSERT_EQ(trial.added.size(), written.added.size()) << c.what;
        for (std::size_t i = 0; i < trial.added.size(); ++i) {
            EXPECT_EQ(trial.added[i].name, written.added[i].name) << c.what;
            EXPECT_EQ(trial.added[i].bytes, written.added[i].bytes) << c.what;
            EXPECT_EQ(dir.read(written.added[i].name), std::string(written.added[i].bytes.begin(), written.added[i].bytes.end()));
        }
    }
}

TEST(IcsImport, ReportsEveryEntryItCouldNotWriteWithTheRealReason) {
    TempDir dir;
    const std::string ics = calendar(
        "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260310\nSUMMARY:Dentist\nEND:VEVENT\n"
        "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260210\nSUMMARY:Gone by\nEND:VEVENT\n");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    ImportReport report;
    {
        PermissionsBite bite;
        report = import_in_zone(dir.path(), ics, "UTC0");
    }
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_FALSE(report.succeeded());
    EXPECT_EQ(report.error, "");
    EXPECT_EQ(report.write_error, "an entry of 10/03/2026 could not be written: Permission denied");
    EXPECT_EQ(skip_lines(report), (std::vector<std::string>{"past 10/02/2026", "write failed 10/03/2026"}));
    EXPECT_TRUE(dir.names().empty());
}

}  // namespace
}  // namespace daybrook
