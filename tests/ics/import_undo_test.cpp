#include "ics/import_undo.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ics/calendar_files.h"
#include "ics/ics_import.h"
#include "store/memo.h"
#include "support/environment_guard.h"
#include "support/permissions_bite.h"
#include "support/stored_entry.h"
#include "support/temp_dir.h"
#include "support/typed_day.h"

namespace daybrook {
namespace {

using testing::EnvironmentGuard;
using testing::PermissionsBite;
using testing::TempDir;

// Imports three entries of one day into a diary that holds one of its own, and keeps the record.
ImportReport import_three(const StoreDir& dir) {
    EXPECT_EQ(add_entry(dir, date_to_day("10/03/26"), Memo("Mine")).error, StoreError::none);
    const std::string ics = calendar(
        "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260310\nSUMMARY:Dentist\nEND:VEVENT\n"
        "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260310\nSUMMARY:Lunch\nEND:VEVENT\n"
        "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260310\nSUMMARY:Choir\nEND:VEVENT\n");
    const EnvironmentGuard guard(EnvironmentGuard::Values{{"TZ", "UTC0"}});
    const ImportReport report = import_ics(dir, ics, date_to_day("01/03/26"));
    EXPECT_EQ(report.added.size(), 3u);
    EXPECT_TRUE(save_import_record(dir, report.added));
    return report;
}

TEST(ImportUndo, TakesAwayOnlyTheFilesThatStillHoldWhatTheImportWrote) {
    TempDir dir;
    const ImportReport report = import_three(dir.path());
    struct stat info {};
    ASSERT_EQ(::stat((dir / std::string(last_import_record)).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_FALSE(is_entry_file_name(last_import_record));

    // The user rewrote the second entry, and deleted the third and made another in its slot.
    testing::put_entry(dir.path(), report.added[1].name, Memo("Lunch at one"));
    ASSERT_EQ(remove_entry_file(dir.path(), report.added[2].name), StoreError::none);
    ASSERT_EQ(add_entry(dir.path(), date_to_day("10/03/26"), Memo("Choir at six")).name, report.added[2].name);

    std::vector<std::string> disposed;
    const auto dispose = [&](const std::string& path) {
        disposed.push_back(std::filesystem::path(path).filename());
        return std::filesystem::remove(path);
    };
    const UndoReport undo = undo_import(dir.path(), dispose);
    EXPECT_TRUE(undo.succeeded());
    EXPECT_EQ(undo.removed, std::vector<std::string>{report.added[0].name});
    EXPECT_EQ(disposed, undo.removed) << "through the disposal given";
    EXPECT_EQ(undo.changed, (std::vector<std::string>{report.added[1].name, report.added[2].name}));
    EXPECT_EQ(store_lines(dir.path()),
              (std::vector<std::string>{"10/03/26 Mine", "10/03/26 (record: ) Lunch at one", "10/03/26 Choir at six"}));
    EXPECT_TRUE(undo_import(dir.path(), dispose).nothing_to_undo);
}

TEST(ImportUndo, KeepsWhatItCouldNotRemoveAndTrustsNoDamagedRecord) {
    TempDir dir;
    const ImportReport report = import_three(dir.path());
    const std::string record(last_import_record);
    const std::string saved = dir.read(record);

    // A disposal that fails for the first file: the others go, the first stays for another try.
    const auto refuse_first = [&](const std::string& path) {
        return std::filesystem::path(path).filename() != report.added[0].name && std::filesystem::remove(path);
    };
    const UndoReport partly = undo_import(dir.path(), refuse_first);
    EXPECT_FALSE(partly.succeeded());
    EXPECT_EQ(partly.failed, std::vector<std::string>{report.added[0].name});
    EXPECT_EQ(partly.removed.size(), 2u);
    const UndoReport retried = undo_import(dir.path(), {});
    EXPECT_EQ(retried.removed, std::vector<std::string>{report.added[0].name});
    EXPECT_EQ(store_lines(dir.path()), std::vector<std::string>{"10/03/26 Mine"});

    // Records that are not what an import writes remove nothing, not even a named entry file.
    const std::string mine = entry_file_name(date_to_day("10/03/26"), 0);
    const std::string mine_hex = saved.substr(saved.find('\n') + 1 + 13, 222);
    for (const std::string& damaged : {saved.substr(0, saved.size() - 5), "daybrook last import 1\n../" + mine + " " + mine_hex + "\n",
                                       std::string("something else\n"), saved + "DAT2082.000 00\n"}) {
        dir.write(record, damaged);
        const UndoReport undo = undo_import(dir.path(), {});
        EXPECT_NE(undo.error, "") << damaged;
        EXPECT_TRUE(undo.removed.empty()) << damaged;
    }
    EXPECT_EQ(store_lines(dir.path()), std::vector<std::string>{"10/03/26 Mine"});
}

TEST(ImportUndo, NeitherBlocksNorGuessesOnFilesThatAreNotWhatTheImportLeft) {
    TempDir dir;
    const ImportReport report = import_three(dir.path());
    const std::string record(last_import_record);
    const std::string saved = dir.read(record);
    // An entry that became a FIFO holds something else; one that cannot be read now may still
    // hold what the import wrote, so it stays in the record for another try.
    std::filesystem::remove(dir / report.added[0].name);
    ASSERT_EQ(::mkfifo((dir / report.added[0].name).c_str(), 0600), 0);
    std::filesystem::permissions(dir / report.added[1].name, std::filesystem::perms::none);
    {
        const PermissionsBite bite;
        const UndoReport undo = undo_import(dir.path(), {});
        EXPECT_EQ(undo.changed, std::vector<std::string>{report.added[0].name});
        EXPECT_EQ(undo.failed, std::vector<std::string>{report.added[1].name});
        EXPECT_EQ(undo.removed, std::vector<std::string>{report.added[2].name});
    }
    std::filesystem::permissions(dir / report.added[1].name, std::filesystem::perms::owner_read);
    EXPECT_EQ(undo_import(dir.path(), {}).removed, std::vector<std::string>{report.added[1].name});

    // A record that is no regular file is an error, never a wait or an exception.
    std::filesystem::remove(dir / record);
    std::filesystem::create_directory(dir / record);
    EXPECT_NE(undo_import(dir.path(), {}).error, "");
    EXPECT_FALSE(save_import_record(dir.path(), report.added));
    std::filesystem::remove(dir / record);
    ASSERT_EQ(::mkfifo((dir / record).c_str(), 0600), 0);
    EXPECT_NE(undo_import(dir.path(), {}).error, "");
    ASSERT_TRUE(save_import_record(dir.path(), report.added));
    EXPECT_EQ(dir.read(record), saved);
}

}  // namespace
}  // namespace daybrook
