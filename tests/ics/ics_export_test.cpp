#include "ics/ics_export.h"

#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "ics/calendar_files.h"
#include "ics/ics_import.h"
#include "store/memo.h"
#include "store/renewal.h"
#include "support/permissions_bite.h"
#include "support/temp_dir.h"
#include "support/typed_day.h"

namespace daybrook {
namespace {

using testing::PermissionsBite;
using testing::TempDir;

// The values of every line of the file that starts with the given name and a ':' or ';'.
std::vector<std::string> lines_of(const std::string& text, const std::string& name) {
    std::vector<std::string> values;
    std::size_t at = 0;
    while ((at = text.find("\r\n" + name, at)) != std::string::npos) {
        at += 2;
        const char next = text[at + name.size()];
        if (next == ':' || next == ';') values.push_back(text.substr(at, text.find("\r\n", at) - at));
    }
    return values;
}

TEST(IcsExport, WritesEveryEntryAsAnAllDayEventThatReadsBackAsTheSameEntry) {
    const DayNumber today = date_to_day("01/03/26");
    struct Stored { const char* date; EntryRecord record; };
    const Stored stored[] = {
        {"10/02/26", Memo("Mum's birthday").yearly(EntryRecord::yearly_renewed).red()},
        {"20/02/26", Memo("Plumber")},
        {"05/03/26", Memo("Lunch with Ann, Bob; Carl")},
        {"05/03/26", Memo("Caf\xE9 \x80" "5, \xA3" "3 \x93quoted\x94 back\\slash").red()},
        {"25/02/26", Memo("Tab\there, bell\x07, line\nbreak\r, escape\x1B, delete\x7F")},
        {"05/03/26", Memo("Na\xEFve r\xE9sum\xE9 \x96 \xC6sir \xDF")},
        {"10/02/27", Memo("Mum's birthday").yearly(EntryRecord::yearly_pending).red()},
        {"31/12/50", Memo("The diary's last day")},
    };
    TempDir source;
    for (const Stored& s : stored)
        ASSERT_EQ(add_entry(source.path(), date_to_day(s.date), s.record).error, StoreError::none);

    const IcsExport first = export_ics(source.path());
    // The renewed birthday and its copy are one event.
    EXPECT_EQ(first.events, 7);
    EXPECT_TRUE(first.unreadable.empty());
    const std::string& text = first.text;
    EXPECT_TRUE(text.starts_with("BEGIN:VCALENDAR\r\n")) << text;
    EXPECT_EQ(lines_of(text, "VERSION"), std::vector<std::string>{"VERSION:2.0"});
    EXPECT_EQ(lines_of(text, "PRODID").size(), 1u);
    EXPECT_EQ(lines_of(text, "DTSTAMP").size(), 7u);
    EXPECT_NE(text.find("SUMMARY:Tab here\\, bell \\, line break \\, escape \\, delete \r\n"), std::string::npos)
        << "control characters become spaces, one line";
    const std::vector<std::string> starts = lines_of(text, "DTSTART");
    const std::vector<std::string> ends = lines_of(text, "DTEND");
    ASSERT_EQ(starts.size(), 7u);
    EXPECT_EQ(starts[0], "DTSTART;VALUE=DATE:20260210");
    EXPECT_EQ(ends[6], "DTEND;VALUE=DATE:20510101") << "an all-day event ends the next day";
    // The birthday's event starts on its first day and repeats, as its copy still to be carried over does.
    EXPECT_EQ(lines_of(text, "RRULE"), std::vector<std::string>{"RRULE:FREQ=YEARLY"});
    EXPECT_EQ(lines_of(text, "CATEGORIES"), std::vector<std::string>(2, "CATEGORIES:Red Letter Day"));
    EXPECT_NE(text.find("SUMMARY:Lunch with Ann\\, Bob\\; Carl\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("SUMMARY:Café €5\\, £3 “quoted” back\\\\slash\r\n"), std::string::npos) << text;

    // The same entries keep their UIDs; each entry has its own.
    const std::vector<std::string> uids = lines_of(text, "UID");
    EXPECT_EQ(std::set<std::string>(uids.begin(), uids.end()).size(), 7u);
    EXPECT_EQ(lines_of(export_ics(source.path()).text, "UID"), uids);
    for (const std::string& uid : uids) EXPECT_TRUE(uid.ends_with("@daybrook")) << uid;

    // Read back into an empty diary, the entries from today on are the same, in the same slots.
    TempDir copy;
    const ImportReport imported = import_ics(copy.path(), text, today);
    EXPECT_EQ(imported.error, "");
    std::vector<std::string> expected = store_lines(source.path());
    expected.erase(expected.begin(), expected.begin() + 3);
    EXPECT_EQ(store_lines(copy.path()), expected);
    EXPECT_EQ(skip_lines(imported), (std::vector<std::string>{"past 20/02/2026", "past 25/02/2026"}));

    // Read back into either diary again, nothing is added.
    for (const TempDir* dir : {&copy, &source}) {
        const ImportReport again = import_ics(dir->path(), text, today);
        EXPECT_TRUE(again.added.empty());
        EXPECT_EQ(skip_lines(again).size(), 7u);
    }
    EXPECT_EQ(store_lines(copy.path()), expected);
}

TEST(IcsExport, WritesAnEmptyStoreAsAnEmptyCalendarAndNamesTheFilesItCannotRead) {
    TempDir dir;
    const IcsExport empty = export_ics(dir.path());
    EXPECT_EQ(empty.events, 0);
    EXPECT_EQ(import_ics(dir.path(), empty.text, date_to_day("01/03/26")).error, "");

    for (const char* date : {"05/03/26", "06/03/26"})
        ASSERT_EQ(add_entry(dir.path(), date_to_day(date), Memo("Kept")).error, StoreError::none);
    std::filesystem::permissions(dir / "DAT20518.000", std::filesystem::perms::none);
    PermissionsBite bite;
    const IcsExport some = export_ics(dir.path());
    EXPECT_EQ(some.events, 1);
    EXPECT_EQ(some.unreadable, std::vector<std::string>{"DAT20518.000"});
}

}  // namespace
}  // namespace daybrook
