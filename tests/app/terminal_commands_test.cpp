#include "app/terminal_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "app/terminal_options.h"
#include "calendar/day_number.h"
#include "store/entry_files.h"
#include "support/permissions_bite.h"
#include "support/temp_dir.h"
#include "support/typed_day.h"

namespace daybrook {
namespace {

using testing::TempDir;

const DayNumber sunday = date_to_day("06/12/26");

struct Outcome {
    TerminalStatus status;
    QString out;
    QString err;
};

// Runs a command on the folder's diary, on Sunday 6 December 2026.
Outcome run_command(const TempDir& dir, const QStringList& arguments) {
    QString out_text, err_text;
    QTextStream out(&out_text), err(&err_text);
    const TerminalStatus status = run_terminal_command(
        arguments, {.folder = dir / "diary", .settings = dir / "WYNDALE.INI", .today = sunday, .out = out, .err = err});
    out.flush();
    err.flush();
    return {status, out_text, err_text};
}

struct CommandCase {
    QStringList arguments;
    TerminalStatus status;
    QString out;  // the whole output
    QString err;  // a part of the error output
};

void expect_outcomes(const TempDir& dir, const std::vector<CommandCase>& cases) {
    for (const CommandCase& c : cases) {
        const Outcome outcome = run_command(dir, c.arguments);
        const std::string shown = c.arguments.join(' ').toStdString();
        EXPECT_EQ(outcome.status, c.status) << shown << ": " << outcome.err.toStdString();
        EXPECT_EQ(outcome.out, c.out) << shown;
        if (c.err.isEmpty()) EXPECT_EQ(outcome.err, QString()) << shown;
        else EXPECT_TRUE(outcome.err.contains(c.err)) << shown << ": " << outcome.err.toStdString();
    }
}

TEST(TerminalCommands, RunOneCommandAtATimeAndRefuseWhatTheyCannotTake) {
    TempDir dir;
    std::filesystem::create_directory(dir / "diary");
    ASSERT_EQ(add_entry(dir / "diary", sunday + 1, {.text = "Birthday", .yearly = 1}).error, StoreError::none);
    // A day before March 2000 shows the date its record holds; control bytes never reach the terminal.
    ASSERT_EQ(add_entry(dir / "diary", date_to_day("25/12/99"), {.text = "Millennium\x1b[2J\reve\n\x07"}).error,
              StoreError::none);
    const QString birthday = QStringLiteral("Mon 07/12/26  * Birthday\n");
    using enum TerminalStatus;
    expect_outcomes(dir, {
        {{}, done, birthday, {}},
        {{"--list", "1"}, done, {}, {}},
        {{"--list", "2"}, done, birthday, {}},
        {{"--search", "BIRTH"}, done, birthday, {}},
        {{"--search=BIRTH", "--case-sensitive"}, done, {}, {}},
        {{"--list", "0"}, refused, {}, "DAYS must be a number"},
        {{"--list", "2", "3"}, refused, {}, "DAYS must be a number"},
        {{"--search", "two", "words"}, refused, {}, "--search takes no further words"},
        {{"--search", "\u03a9"}, refused, {}, "no entry can hold"},
        {{"--list", "--search", "x"}, refused, {}, "--list and --search cannot go together"},
        {{"--add", "mon", "x", "--import-ics", "f"}, refused, {}, "cannot go together"},
        {{"--help-all"}, refused, {}, "help-all"},
        {{"--list", "--lsit"}, refused, {}, "Usage: daybrook"},
        {{"--search"}, refused, {}, "search"},
        {{"--version", "now"}, refused, {}, "takes no further words"},
        {{"--list", "1", "--until", "01/01/27"}, refused, {}, "--until does not go with --list"},
        {{"--export-ics", "-", "--json"}, refused, {}, "--json does not go with --export-ics"},
        {{"--sync", "x", "--dry-run"}, refused, {}, "--dry-run does not go with --sync"},
        {{"--add", "2", "a", "--add", "3", "b"}, refused, {}, "--add can be given once only"},
        {{"--list", "--json", "--json"}, refused, {}, "--json can be given once only"},
        {{"--list", "2", "--from", "2026-12-07"}, done, birthday, {}},
        {{"--from", "07/12/2026", "--list", "1"}, done, birthday, {}},
        {{"--list", "1", "--from", "tomorrow"}, done, birthday, {}},
        {{"--list", "1", "--from", "25/12/99"}, done, "Sat 25/12/99    Millennium [2J eve  \n", {}},
        {{"--list", "1", "--from", "31/02/27"}, refused, {}, "--from 31/02/27: The day given is invalid"},
    });
}

// Roff's minus signs for the '-' of a text.
std::string with_minus_signs(std::string_view text) {
    std::string roff;
    for (const char c : text) roff += c == '-' ? std::string(R"(\-)") : std::string(1, c);
    return roff;
}

// The help and the manual page both list every option of the table, with its value and its
// description; the help shows the window's option too.
TEST(TerminalCommands, HelpAndManualPageListEveryOption) {
    TempDir dir;
    const Outcome help = run_command(dir, {"-h"});
    EXPECT_EQ(help.status, TerminalStatus::done);
    std::ifstream page_file(DAYBROOK_MANUAL_PAGE);
    const std::string page{std::istreambuf_iterator<char>(page_file), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(page.empty()) << DAYBROOK_MANUAL_PAGE;
    for (const TerminalOption& option : terminal_options) {
        std::string listed = "--" + std::string(option.name);
        if (option.letter != '\0') listed = std::string{'-', option.letter} + ", " + listed;
        if (!option.value_name.empty()) listed += " <" + std::string(option.value_name) + ">";
        EXPECT_TRUE(help.out.contains(QString::fromStdString("  " + listed + " "))) << listed;
        std::string tag = R"(\fB\-\-)" + with_minus_signs(option.name) + R"(\fR)";
        if (option.letter != '\0') tag = R"(\fB\-)" + std::string(1, option.letter) + R"(\fR, )" + tag;
        if (!option.value_name.empty()) tag += R"( \fI)" + std::string(option.value_name) + R"(\fR)";
        EXPECT_NE(page.find(".TP\n" + tag + "\n" + with_minus_signs(option.description) + "\n"), std::string::npos)
            << tag;
    }
    for (const char* listed : {"--folder <DIR>", "--add <DATE>", "--red-letter", "--yearly", "-h, --help", "-v, --version",
                               "-a SECONDS [SECONDS]"})
        EXPECT_TRUE(help.out.contains(QString::fromLatin1(listed))) << listed;
    EXPECT_FALSE(help.out.contains(QStringLiteral("help-all")));
    for (const char* left : {"@PROJECT_VERSION@", R"(.\" The entries)"})
        EXPECT_EQ(page.find(left), std::string::npos) << left;
}

TEST(TerminalCommands, AddTakesNewEntrysDatesAndRefusesWithItsMessagesWritingNothing) {
    TempDir dir;
    const StoreDir diary = dir / "diary";
    std::filesystem::create_directory(diary);
    for (int slot = 0; slot < slots_per_day; ++slot)
        ASSERT_EQ(add_entry(diary, sunday + 5, {.text = "busy"}).error, StoreError::none);
    using enum TerminalStatus;
    expect_outcomes(dir, {
        {{"--add", "06/12/26", "Today"}, done, "Sun 06/12/26    Today\n", {}},
        {{"--add", "sun", "Today's", "name", "--red-letter"}, done, "Sun 06/12/26 !  Today's name\n", {}},
        {{"--add=Sa", "Saturday"}, done, "Sat 12/12/26    Saturday\n", {}},
        {{"--add", "1", "Tomorrow\tat\nnine"}, done, "Mon 07/12/26    Tomorrow at nine\n", {}},
        {{"--add", "31/12/50", "Last day", "--yearly"}, done, "Sat 31/12/50  * Last day\n", {}},
        {{"--add", "05/12/26", "Yesterday"}, failed, {}, "The date given has already past!"},
        {{"--add", "6-12-26", "No slashes"}, failed, {}, "Invalid Date - '/' missing"},
        {{"--add", "31/11/26", "No such day"}, failed, {}, "The day given is invalid"},
        {{"--add", "01/01/51", "Too late"}, failed, {}, "The year given is invalid"},
        {{"--add", "xyz", "Nothing"}, failed, {}, "Invalid Date - '/' missing"},
        {{"--add", "Thorsday", "Typo"}, failed, {}, "Unable to recognise the Day Name"},
        {{"--add", "9000", "Far"}, failed, {}, "That is after 31/12/50"},
        {{"--add", "11/12/26", "Full"}, failed, {}, "There is no room for more entries on 11/12/26"},
        {{"--add", "29/02/28", "Leap", "--yearly"}, failed, {}, "29th of Feb"},
        {{"--add", "mon", "Named", "--yearly"}, failed, {}, "dd/mm/yy"},
        {{"--add", "07/12/26", "..."}, failed, {}, "No Entry has been made"},
        {{"--add", "07/12/26", QString(61, QChar('m'))}, failed, {}, "61 characters"},
        {{"--add", "07/12/26", "3\u20ac \u0161"}, done, "Mon 07/12/26    3\u20ac \u0161\n", {}},
        {{"--add", "07/12/26", "\u20ac\u0161"}, failed, {}, "No Entry has been made"},
        {{"--add", "+2", "Two", "ahead"}, done, "Tue 08/12/26    Two ahead\n", {}},
        {{"--add", "07/12/26", "ok", "\u03c9"}, failed, {}, "cannot store: \"\u03c9\" (U+03C9)"},
        {{"--add", "07/12/26"}, refused, {}, "--add needs a date"},
        {{"--add", "0", "Now"}, done, "Sun 06/12/26    Now\n", {}},
        {{"--add", "TOMORROW", "Soon"}, done, "Mon 07/12/26    Soon\n", {}},
        {{"--add", "2026-12-24", "Eve", "--yearly"}, done, "Thu 24/12/26  * Eve\n", {}},
        {{"--add", "today", "Yearly", "--yearly"}, done, "Sun 06/12/26  * Yearly\n", {}},
        {{"--add", "24/12/2099", "Far"}, failed, {}, "The year given is invalid"},
        {{"--add", "2026-13-01", "No month"}, failed, {}, "The Month given is invalid"},
        {{"--add", "05/12/2026", "Past"}, failed, {}, "The date given has already past!"},
    });
    // Only the entries made were written, each in the next free slot of its day.
    std::vector<std::string> expected = {"DAT20793.000", "DAT20793.001", "DAT20793.002", "DAT20793.003",
                                         "DAT20794.000", "DAT20794.001", "DAT20794.002", "DAT20795.000",
                                         "DAT20799.000", "DAT20811.000", "DAT29584.000"};
    for (int slot = 0; slot < slots_per_day; ++slot) expected.push_back(entry_file_name(sunday + 5, slot));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(list_entry_files(diary), expected);

    // Kept old entries change which refusal a past date gets, never whether it is refused.
    dir.write("WYNDALE.INI", "[Daybrook]\nKeepCode=4\nLastSet=20700\n");
    expect_outcomes(dir, {
        {{"--add", "05/12/26", "Yesterday"}, failed, {}, "Past entries are not allowed!"},
        {{"--add", "05/12/25", "Long ago"}, failed, {}, "You hold no entries so old!"},
    });
    EXPECT_EQ(list_entry_files(diary), expected);
}

// A diary folder that cannot be read is said so, never printed or exported as an empty diary.
TEST(TerminalCommands, ThoseThatReadTheDiaryFailWhereItsFolderCannotBeRead) {
    TempDir dir;
    std::filesystem::create_directory(dir / "diary");
    ASSERT_EQ(add_entry(dir / "diary", sunday + 1, {.text = "Birthday"}).error, StoreError::none);
    std::filesystem::permissions(dir / "diary", std::filesystem::perms::none);
    using enum TerminalStatus;
    {
        const testing::PermissionsBite bite;
        expect_outcomes(dir, {
            {{"--list"}, failed, {}, "cannot read the diary folder"},
            {{"--search", "birth"}, failed, {}, "cannot read the diary folder"},
            {{"--export-ics", "-"}, failed, {}, "cannot read the diary folder"},
            {{"--undo-import"}, failed, {}, "it cannot make its lock file in the diary folder"},
        });
    }
    std::filesystem::permissions(dir / "diary", std::filesystem::perms::owner_all);
}

TEST(TerminalCommands, AskedForByTheirOptionsFirstInEitherForm) {
    const std::vector<std::pair<std::vector<std::string_view>, bool>> cases = {
        {{"--list"}, true},     {{"--add=tue", "x"}, true}, {{"--json", "--list"}, true},
        {{"-h"}, true},         {{"-v"}, true},             {{"--version=1"}, true},
        {{}, false},            {{"-a", "5"}, false},       {{"--help-all"}, false},
        {{"--LIST"}, false},    {{"list"}, false},          {{"-hv"}, false},
        {{"-"}, false},         {{"--"}, false},            {{"-A", "--list"}, false},
    };
    for (const auto& [arguments, terminal] : cases)
        EXPECT_EQ(asks_for_terminal(arguments), terminal) << (arguments.empty() ? "(none)" : arguments.front());
}

}  // namespace
}  // namespace daybrook
