// Files a careless or hostile hand put into the diary folder: no crash, no hang, nothing read
// beyond a field, nothing outside the folder or outside the store's own names touched, and
// nobody else's file shown through a link.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "store/deletion_list.h"
#include "store/entry_files.h"
#include "store/memo.h"
#include "store/retention.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

constexpr DayNumber today = 20793;  // 6 December 2026

std::string bytes_of(const EntryRecord& record) {
    const RecordBytes bytes = encode(record);
    return {bytes.begin(), bytes.end()};
}

TEST(HostileFiles, NothingCrashesHangsOrReachesOutsideTheFolder) {
    TempDir root;
    fs::create_directory(root / "store");
    const fs::path store = root / "store";
    const std::string secret = bytes_of(Memo("someone else's").date("03/12/26").yearly(1));
    root.write("victim", secret);
    fs::create_symlink("../victim", store / "DAT20790.000");                // leads out of the folder
    ASSERT_EQ(::mkfifo((store / "DAT20790.001").c_str(), 0600), 0);         // would block a plain read
    fs::create_directory(store / "DAT20790.002");
    const std::pair<std::string, std::string> odd[] = {
        {"DAT20790.003", ""},
        {"DAT20790.004", "x"},
        {"DAT20790.005", std::string(110, 'A')},
        {"DAT20790.006", std::string(112, 'B')},
        {"DAT20790.007", std::string(1 << 20, 'C')},
        {"DAT20790.008", std::string(111, 'D')},  // no zero byte anywhere
        {"DAT20790.009", bytes_of(Memo("hostile").date("03/12/26").file("../victim").yearly(1))},
        {"DAT20791.000", bytes_of(Memo("fine").date("04/12/26"))},
        {"DATA0790.000", "not an entry name"},
    };
    for (const auto& [name, bytes] : odd) root.write("store/" + name, bytes);

    for (const EntryRecord& entry : day_entries(store, 20790)) {
        EXPECT_LE(entry.text.size(), EntryRecord::text_field);
        EXPECT_LE(entry.date.size(), EntryRecord::date_field);
        EXPECT_LE(entry.file.size(), EntryRecord::file_field);
        EXPECT_NE(entry.text, "someone else's") << "a link out of the folder is not followed";
    }
    EXPECT_EQ(read_entry(store, "DAT20790.008")->text, std::string(EntryRecord::text_field - 1, 'D'))
        << "ends where its zero byte belongs";
    EXPECT_FALSE(read_entry(store, "DAT20790.000"));
    EXPECT_FALSE(read_entry(store, "DAT20790.001")) << "a FIFO is no entry";
    EXPECT_EQ(day_entries(store, 20790).size(), 7u) << "the regular files of the day alone";
    const std::vector<ListedEntry> all = entries_with_word(store, "", false);
    EXPECT_EQ(all.size(), 8u) << "regular files with entry names only";
    EXPECT_TRUE(delete_listed(store, all, {}).deleted.empty());

    const PurgeReport report = purge_old(store, today, KeepCode::none);
    EXPECT_EQ(report.created.size(), 1u) << "the hostile yearly record is carried over inside the folder";
    EXPECT_EQ(root.read("victim"), secret);
    EXPECT_TRUE(fs::is_fifo(store / "DAT20790.001"));
    EXPECT_TRUE(fs::is_directory(store / "DAT20790.002"));
    EXPECT_TRUE(fs::exists(store / "DATA0790.000"));
    EXPECT_TRUE(fs::is_symlink(store / "DAT20790.000")) << "not read, so not deleted either";
    for (int slot = 3; slot <= 9; ++slot) EXPECT_FALSE(fs::exists(store / entry_file_name(20790, slot))) << slot;
}

}  // namespace
}  // namespace daybrook
