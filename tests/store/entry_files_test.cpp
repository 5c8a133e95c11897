#include "store/entry_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/memo.h"
#include "store/record_io.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

std::string bytes_of(const EntryRecord& record) {
    const RecordBytes bytes = encode(record);
    return {bytes.begin(), bytes.end()};
}

TEST(EntryFiles, AddsAnEntryAsOneExact111ByteRecordNamedForItsDayAndSlot) {
    TempDir dir;
    const AddedEntry added =
        add_entry(dir.path(), 20793, Memo("Dentist 10am").file("stale").yearly(1).red());
    ASSERT_EQ(added.error, StoreError::none);
    EXPECT_EQ(added.name, "DAT20793.000");
    std::string expected(111, '\0');
    expected.replace(0, 12, "Dentist 10am");
    expected.replace(81, 8, "06/12/26");
    expected.replace(90, 12, "DAT20793.000");
    expected[103] = 1;
    expected[107] = 1;
    EXPECT_EQ(dir.read("DAT20793.000"), expected);
    EXPECT_EQ(fs::status(dir / "DAT20793.000").permissions(), fs::perms::owner_read | fs::perms::owner_write)
        << "entries are private";
}

TEST(EntryFiles, TakesTheLowestFreeSlotAndReportsAFullDay) {
    struct Case {
        std::vector<int> taken;
        std::optional<std::string> slot;
    };
    const Case cases[] = {{{}, "DAT20793.000"},
                          {{0, 2}, "DAT20793.001"},
                          {{1}, "DAT20793.000"},
                          {{0, 1, 2, 3, 4, 5, 6, 7, 8}, "DAT20793.009"},
                          {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, std::nullopt}};
    for (const Case& c : cases) {
        TempDir dir;
        for (int slot : c.taken) dir.write(entry_file_name(20793, slot), "kept");
        const AddedEntry added = add_entry(dir.path(), 20793, Memo("new"));
        EXPECT_EQ(added.error, c.slot ? StoreError::none : StoreError::day_full);
        EXPECT_EQ(added.name, c.slot.value_or(""));
        for (int slot : c.taken) EXPECT_EQ(dir.read(entry_file_name(20793, slot)), "kept");
    }
}

TEST(EntryFiles, NeverWritesThroughALinkThatOccupiesASlot) {
    TempDir dir;
    fs::create_symlink("victim", dir / "DAT20793.000");
    EXPECT_EQ(add_entry(dir.path(), 20793, Memo("new")).name, "DAT20793.001");
    EXPECT_FALSE(dir.exists("victim"));
}

TEST(EntryFiles, ListsOnlyEntryFilesOfSlotsZeroToNineInNameOrder) {
    TempDir dir;
    for (const char* name : {"DAT20793.010", "DAT20793.000", "DAT2079.000", "dat20793.001",
                             "DAT20793.0001", "TEMPDAT.000", "XDAT20793.000", "DAT20701.009",
                             "DAT2079x.000", "DATabcde.000", "DAT20793.00a", "DAT 0793.000"})
        dir.write(name, "");
    fs::create_directory(dir / "DAT20702.000");
    fs::create_directory_symlink(dir / "DAT20702.000", dir / "DAT20703.000");
    fs::create_symlink(dir / "DAT20793.000", dir / "DAT20704.000");
    EXPECT_EQ(list_entry_files(dir.path()),
              (std::vector<std::string>{"DAT20701.009", "DAT20704.000", "DAT20793.000"}));
    EXPECT_TRUE(list_entry_files(dir / "missing").empty());
}

TEST(EntryFiles, ReadsAtMostOneRecordAndRefusesNamesOutsideTheStore) {
    TempDir dir;
    const std::string record = bytes_of(Memo("Dentist").date("06/12/26").red());
    dir.write("full", record + "more");
    dir.write("short", record.substr(0, 85));
    dir.write("empty", "");
    fs::create_directory(dir / "folder");
    EXPECT_EQ(read_entry(dir.path(), "full"), Memo("Dentist").date("06/12/26").red());
    EXPECT_EQ(read_entry(dir.path(), "short"), Memo("Dentist").date("06/1"));
    EXPECT_EQ(read_entry(dir.path(), "empty"), EntryRecord{});
    for (const std::string& name : std::vector<std::string>{
             "missing", "folder", "", "../" + dir.path().filename().string() + "/full",
             (dir / "full").string()})
        EXPECT_FALSE(read_entry(dir.path(), name)) << name;
}

TEST(EntryFiles, RewritesAFileWholeUnderItsOwnNameKeepingItsPermissions) {
    TempDir dir;
    dir.write("DAT20793.000", std::string(111, 'x'));
    ::chmod((dir / "DAT20793.000").c_str(), 0600);
    EXPECT_EQ(store_io::replace_record(dir.path(), "DAT20793.000", encode(Memo("new").file("DAT20793.000"))),
              StoreError::none);
    EXPECT_EQ(read_entry(dir.path(), "DAT20793.000"), Memo("new").file("DAT20793.000"));
    EXPECT_EQ(fs::status(dir / "DAT20793.000").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"DAT20793.000"});
}

TEST(EntryFiles, ReadsADaysSlotsZeroToNineSkippingGaps) {
    TempDir dir;
    for (int slot : {1, 4, 9, 10})
        dir.write(entry_file_name(20793, slot), bytes_of(Memo(std::to_string(slot))));
    std::vector<std::string> texts;
    for (const auto& [slot, entry, bytes] : slot_entries(dir.path(), 20793)) {
        EXPECT_EQ(entry.text, std::to_string(slot));
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), bytes_of(Memo(std::to_string(slot)))) << "as read";
        texts.push_back(entry.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"1", "4", "9"}));
}

TEST(EntryFiles, FindsTheEarliestDayButNeverLaterThanYesterday) {
    TempDir dir;
    EXPECT_EQ(scan_earliest(dir.path(), 20793), 20792);
    dir.write("DAT20800.000", "");
    EXPECT_EQ(scan_earliest(dir.path(), 20793), 20792);
    dir.write("DAT20700.003", "");
    dir.write("DAT20600.010", "");
    EXPECT_EQ(scan_earliest(dir.path(), 20793), 20700);
    EXPECT_EQ(day_of_entry_name("DAT00042.000"), 42);
}

TEST(EntryFiles, DeletesOnlyEntryFileNamesWithoutADirectory) {
    TempDir dir;
    fs::create_directory(dir / "sub");
    for (const char* name : {"DAT20793.000", "DAT20793.010", "sub/DAT20793.000"})
        dir.write(name, "");
    EXPECT_EQ(remove_entry_file(dir.path(), "DAT20793.000"), StoreError::none);
    EXPECT_EQ(remove_entry_file(dir.path(), "DAT20793.000"), StoreError::io_error);
    for (const std::string& name : std::vector<std::string>{"DAT20793.010", "sub/DAT20793.000",
                                                            (dir / "sub/DAT20793.000").string(),
                                                            "../DAT20793.010", "DAT2079/.000"})
        EXPECT_EQ(remove_entry_file(dir.path(), name), StoreError::bad_name) << name;
    EXPECT_TRUE(dir.exists("DAT20793.010"));
    EXPECT_TRUE(dir.exists("sub/DAT20793.000"));
}

}  // namespace
}  // namespace daybrook
