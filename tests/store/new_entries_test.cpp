#include "store/new_entries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "store/memo.h"
#include "support/temp_dir.h"
#include "support/typed_day.h"

namespace daybrook {
namespace {

using testing::TempDir;

constexpr DayNumber jan_5_27 = 20823;  // a Tuesday

std::vector<DayNumber> days_of(std::initializer_list<std::string_view> dates) {
    std::vector<DayNumber> days;
    for (std::string_view date : dates) days.push_back(date_to_day(date));
    return days;
}

TEST(NewEntries, ExpandsEachDateByWeeksThenDaysAndRepeatsShortFormsOnlyDaily) {
    struct Case { const char* what; NewEntryRequest request; std::vector<DayNumber> days; };
    const Case cases[] = {
        {"single", {.days = days_of({"05/01/27"})}, {jan_5_27}},
        {"weekly 3", {.days = days_of({"05/01/27"}), .week_count = 3},
         days_of({"05/01/27", "12/01/27", "19/01/27"})},
        {"daily 3", {.days = days_of({"05/01/27"}), .day_count = 3},
         days_of({"05/01/27", "06/01/27", "07/01/27"})},
        {"weeks then days", {.days = days_of({"05/01/27"}), .week_count = 2, .day_count = 2},
         {jan_5_27, jan_5_27 + 1, jan_5_27 + 7, jan_5_27 + 8}},
        {"chosen dates daily 2",
         {.days = days_of({"05/01/27", "19/01/27", "26/01/27"}), .form = DateForm::day_name,
          .day_count = 2},
         days_of({"05/01/27", "06/01/27", "19/01/27", "20/01/27", "26/01/27", "27/01/27"})},
        {"day name ignores weeks",
         {.days = days_of({"05/01/27"}), .form = DateForm::day_name, .week_count = 4}, {jan_5_27}},
        {"days ahead ignores weeks",
         {.days = days_of({"05/01/27"}), .form = DateForm::days_ahead, .week_count = 0, .day_count = 2},
         {jan_5_27, jan_5_27 + 1}},
        {"no weeks", {.days = days_of({"05/01/27"}), .week_count = 0}, {}},
        {"negative days", {.days = days_of({"05/01/27"}), .day_count = -2}, {}},
        {"no dates", {.days = {}, .week_count = 3}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(requested_days(c.request), c.days) << c.what;
}

TEST(NewEntries, KnowsWhetherEveryRequestedDayLiesWithinTheDiary) {
    struct Case { NewEntryRequest request; bool within; };
    const Case cases[] = {
        {{.days = days_of({"17/12/50"}), .week_count = 3}, true},  // the third week is 31/12/50
        {{.days = days_of({"18/12/50"}), .week_count = 3}, false},
        {{.days = days_of({"31/12/50"})}, true},
        {{.days = days_of({"31/12/50"}), .day_count = 2}, false},
        {{.days = days_of({"05/01/27", "31/12/50"}), .form = DateForm::day_name, .week_count = 99}, true},
        {{.days = days_of({"01/01/99999999999"}), .week_count = 99, .day_count = 99}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(within_diary(c.request), c.within) << c.request.days.back();
    // Repeats from a day near the largest day number stay at the largest instead of wrapping.
    const auto far = requested_days(cases[5].request);
    EXPECT_EQ(*std::min_element(far.begin(), far.end()), std::numeric_limits<DayNumber>::max());
}

TEST(NewEntries, WritesOneRecordPerDayWithYearlyOnlyForPlainDatesOffTheLeapDay) {
    struct File { std::string_view name; std::string_view date; int yearly; };
    struct Case { const char* what; NewEntryRequest request; std::vector<File> files; };
    const Case cases[] = {
        {"weekly 3 red", {.days = days_of({"05/01/27"}), .week_count = 3, .red = true},
         {{"DAT20823.000", "05/01/27", 0}, {"DAT20830.000", "12/01/27", 0},
          {"DAT20837.000", "19/01/27", 0}}},
        {"yearly weekly 4", {.days = days_of({"05/01/27"}), .week_count = 4, .yearly = true},
         {{"DAT20823.000", "05/01/27", 1}, {"DAT20830.000", "12/01/27", 1},
          {"DAT20837.000", "19/01/27", 1}, {"DAT20844.000", "26/01/27", 1}}},
        {"yearly daily over 29 February", {.days = days_of({"28/02/28"}), .day_count = 3, .yearly = true},
         {{"DAT21242.000", "28/02/28", 1}, {"DAT21243.000", "29/02/28", 0},
          {"DAT21244.000", "01/03/28", 1}}},
        {"day name is never yearly",
         {.days = days_of({"05/01/27", "19/01/27"}), .form = DateForm::day_name, .week_count = 3,
          .day_count = 2, .yearly = true},
         {{"DAT20823.000", "05/01/27", 0}, {"DAT20824.000", "06/01/27", 0},
          {"DAT20837.000", "19/01/27", 0}, {"DAT20838.000", "20/01/27", 0}}},
        {"overlapping days take further slots",
         {.days = days_of({"05/01/27", "06/01/27"}), .form = DateForm::days_ahead, .day_count = 2},
         {{"DAT20823.000", "05/01/27", 0}, {"DAT20824.000", "06/01/27", 0},
          {"DAT20824.001", "06/01/27", 0}, {"DAT20825.000", "07/01/27", 0}}},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        c.request.text = "Dentist";
        const WrittenEntries result = write_new_entries(dir.path(), c.request);
        std::vector<std::string> names;
        for (const File& file : c.files) {
            names.emplace_back(file.name);
            const EntryRecord expected = Memo("Dentist")
                                             .date(std::string(file.date))
                                             .file(names.back())
                                             .yearly(file.yearly)
                                             .red(c.request.red);
            EXPECT_EQ(read_entry(dir.path(), file.name), expected);
        }
        EXPECT_EQ(result.written, names);
        EXPECT_TRUE(result.full_days.empty() && result.failed_days.empty());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(dir.names(), names);
    }
}

TEST(NewEntries, StoresTheExactRecordBytes) {
    TempDir dir;
    const NewEntryRequest request{
        .days = days_of({"05/01/27"}), .text = "Fee \xA3" "5", .red = true, .yearly = true};
    ASSERT_EQ(write_new_entries(dir.path(), request).written,
              std::vector<std::string>{"DAT20823.000"});
    std::string expected(111, '\0');
    expected.replace(0, 6, "Fee \xA3" "5");
    expected.replace(81, 8, "05/01/27");
    expected.replace(90, 12, "DAT20823.000");
    expected[103] = 1;
    expected[107] = 1;
    EXPECT_EQ(dir.read("DAT20823.000"), expected);
    EXPECT_EQ(read_entry(dir.path(), "DAT20823.000"),
              Memo("Fee \xA3" "5").date("05/01/27").file("DAT20823.000").yearly(1).red());
}

TEST(NewEntries, FillsFreeSlotsAndReportsFullOrFailedDaysWithoutStopping) {
    TempDir dir;
    for (int slot : {0, 2}) dir.write(entry_file_name(jan_5_27, slot), "kept");
    for (int slot = 0; slot < slots_per_day; ++slot)
        dir.write(entry_file_name(jan_5_27 + 1, slot), "kept");
    const NewEntryRequest request{.days = days_of({"05/01/27"}), .day_count = 3, .text = "Dentist"};

    const WrittenEntries result = write_new_entries(dir.path(), request);
    EXPECT_EQ(result.written, (std::vector<std::string>{"DAT20823.001", "DAT20825.000"}));
    EXPECT_EQ(result.full_days, std::vector<DayNumber>{jan_5_27 + 1});
    EXPECT_TRUE(result.failed_days.empty());
    EXPECT_EQ(dir.read("DAT20823.000"), "kept");
    EXPECT_EQ(dir.read("DAT20823.002"), "kept");

    const WrittenEntries failed = write_new_entries(dir / "missing", request);
    EXPECT_TRUE(failed.written.empty());
    EXPECT_EQ(failed.failed_days, (std::vector<DayNumber>{jan_5_27, jan_5_27 + 1, jan_5_27 + 2}));
}

// Room is counted per day over the whole request, so dates that meet on one day count together;
// anything in a slot's place keeps a new entry out of it.
TEST(NewEntries, FindsTheDaysWithoutRoomForWhatTheRequestAdds) {
    TempDir dir;
    for (int slot = 0; slot < 8; ++slot) dir.write(entry_file_name(jan_5_27, slot), "kept");
    std::filesystem::create_symlink(dir / "gone", dir / entry_file_name(jan_5_27 + 7, 9));
    std::filesystem::create_directory(dir / entry_file_name(jan_5_27 + 7, 8));
    for (int slot = 0; slot < 8; ++slot) dir.write(entry_file_name(jan_5_27 + 7, slot), "kept");
    struct Case { const char* what; NewEntryRequest request; std::vector<DayNumber> full; };
    const Case cases[] = {
        {"two free slots", {.days = days_of({"05/01/27"}), .text = "a"}, {}},
        {"two dates meeting on one day", {.days = days_of({"04/01/27", "05/01/27"}), .form = DateForm::day_name,
                                          .day_count = 2},
         {}},
        {"one too many", {.days = days_of({"03/01/27", "04/01/27", "05/01/27"}), .form = DateForm::day_name, .day_count = 3},
         {jan_5_27}},
        {"a link and a folder fill the day", {.days = days_of({"05/01/27"}), .week_count = 3}, {jan_5_27 + 7}},
        {"each full day once, in order",
         {.days = days_of({"12/01/27", "05/01/27", "05/01/27", "12/01/27", "05/01/27"}), .form = DateForm::day_name},
         {jan_5_27 + 7, jan_5_27}},
    };
    for (const Case& c : cases) EXPECT_EQ(days_without_room(dir.path(), c.request), c.full) << c.what;
    EXPECT_TRUE(days_without_room(dir / "missing", {.days = days_of({"05/01/27"})}).empty()) << "a missing folder is empty";
}

TEST(NewEntries, WritesNothingForABlankMemo) {
    for (const char* text : {"", "   ", "...", "- -"}) {
        TempDir dir;
        const WrittenEntries result =
            write_new_entries(dir.path(), {.days = days_of({"05/01/27"}), .week_count = 3, .text = text});
        EXPECT_TRUE(result.written.empty() && result.full_days.empty() &&
                    result.failed_days.empty());
        EXPECT_TRUE(dir.names().empty()) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace daybrook
