#include "store/deletion_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "store/memo.h"
#include "store/scratch_files.h"
#include "support/permissions_bite.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::PermissionsBite;
using testing::TempDir;

void put(const TempDir& dir, const std::string& name, const EntryRecord& record) {
    const RecordBytes bytes = encode(record);
    dir.write(name, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::string> names_of(const std::vector<ListedEntry>& entries) {
    std::vector<std::string> names;
    for (const ListedEntry& entry : entries) names.push_back(entry.name);
    return names;
}

TEST(DeletionList, FindsEntriesByAWordInTheMemoOrByTheirDay) {
    TempDir dir;
    put(dir, "DAT15553.000", Memo("Dentist 10am").date("01/08/12"));
    put(dir, "DAT15553.002", Memo("see DENTIST").date("01/08/12"));
    put(dir, "DAT15553.003", Memo("Party").date("01/08/12"));
    put(dir, "DAT20800.000", Memo("Birthday party \xC9t\xE9").date("13/12/26"));
    put(dir, "DAT20801.000", Memo("dentistry").date("14/12/26"));
    struct Case {
        std::string word;
        bool case_sensitive;
        std::vector<std::string> found;
    };
    const Case cases[] = {
        {"dentist", false, {"DAT15553.000", "DAT15553.002", "DAT20801.000"}},
        {"Dentist", true, {"DAT15553.000"}},
        {"art", false, {"DAT15553.003", "DAT20800.000"}},
        {"12", false, {}},  // only in the dates
        {"\xE9t\xE9", false, {}},  // only 'A' to 'Z' fold
        {"", false, {"DAT15553.000", "DAT15553.002", "DAT15553.003", "DAT20800.000", "DAT20801.000"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(names_of(entries_with_word(dir.path(), c.word, c.case_sensitive)), c.found) << c.word;

    const std::vector<ListedEntry> day = entries_of_day(dir.path(), 15553);
    EXPECT_EQ(deletion_lines(day, ListKind::date),
              (std::vector<std::string>{"1. 01/08/12  Dentist 10am", "2. 01/08/12  see DENTIST", "3. 01/08/12  Party"}));
    EXPECT_EQ(deletion_lines(entries_with_word(dir.path(), "dentist", false), ListKind::key_word)[1],
              "01/08/12  see DENTIST");
    EXPECT_EQ(deletion_lines({}, ListKind::key_word), std::vector<std::string>{"No Match Found"});
    EXPECT_EQ(deletion_lines(entries_of_day(dir.path(), 15554), ListKind::date),
              std::vector<std::string>{"No entries for this date"});
}

// A line deletes the file it was listed for, only while that file still holds what was listed,
// and never a file that a record's own `file` field names.
TEST(DeletionList, DeletesOnlyTheListedFileOfEachChosenLine) {
    TempDir root;
    std::filesystem::create_directory(root / "store");
    const std::filesystem::path store = root / "store";
    root.write("victim", "precious");
    const auto write = [&](const std::string& name, const EntryRecord& record) {
        const RecordBytes bytes = encode(record);
        root.write("store/" + name, std::string(bytes.begin(), bytes.end()));
    };
    write("DAT20794.000", Memo("one").date("07/12/26").file("../victim"));
    write("DAT20794.001", Memo("two").date("07/12/26").file("DAT20794.002"));
    write("DAT20794.002", Memo("three").date("07/12/26"));
    write("DAT20794.003", Memo("four").date("07/12/26"));
    const std::vector<ListedEntry> listed = entries_of_day(store, 20794);
    ASSERT_TRUE(write_scratch_list(store, listed));
    EXPECT_EQ(root.read("store/TEMPDAT.001"), root.read("store/DAT20794.001")) << "a byte-for-byte copy";

    write("DAT20794.003", Memo("another entry now").date("07/12/26"));  // changed since it was listed
    std::filesystem::remove(store / "DAT20794.002");                     // gone since it was listed
    const DeletionReport report = delete_listed(store, listed, {0, 1, 2, 3, 7});
    EXPECT_EQ(report.deleted, (std::vector<std::string>{"DAT20794.000", "DAT20794.001"}));
    EXPECT_EQ(report.left, std::vector<std::size_t>{3});
    EXPECT_EQ(root.read("victim"), "precious");
    EXPECT_TRUE(root.exists("store/DAT20794.003"));

    EXPECT_TRUE(remove_scratch_list(store, int(listed.size())).empty());
    EXPECT_FALSE(root.exists("store/TEMPDAT.000"));

    // A folder the user may not change: nothing goes, and every chosen line is reported.
    write("DAT20794.004", Memo("five").date("07/12/26"));
    const std::vector<ListedEntry> rest = entries_of_day(store, 20794);
    std::filesystem::permissions(store, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    DeletionReport refused;
    {
        PermissionsBite bite;
        refused = delete_listed(store, rest, {0, 1});
    }
    std::filesystem::permissions(store, std::filesystem::perms::owner_all);
    EXPECT_TRUE(refused.deleted.empty());
    EXPECT_EQ(refused.left, (std::vector<std::size_t>{0, 1}));
}

}  // namespace
}  // namespace daybrook
