#include "store/scratch_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "store/memo.h"
#include "store/retention.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::TempDir;

TEST(ScratchFiles, HoldAnExactCopyOfTheListedRecordIncludingItsFileName) {
    TempDir dir;
    RecordBytes listed = encode(Memo("Dentist").date("06/12/26").file("DAT20793.002").yearly(-1));
    listed[50] = 'x';  // remains of an earlier text after the terminator are copied too
    ASSERT_EQ(write_scratch(dir.path(), 7, listed), StoreError::none);
    EXPECT_EQ(scratch_file_name(7), "TEMPDAT.007");
    EXPECT_EQ(dir.read("TEMPDAT.007"), std::string(listed.begin(), listed.end()));
    EXPECT_EQ(write_scratch(dir.path(), -1, listed), StoreError::bad_name);
    EXPECT_EQ(write_scratch(dir.path(), 1000, listed), StoreError::bad_name);
    std::filesystem::create_symlink("victim", dir / "TEMPDAT.008");
    EXPECT_EQ(write_scratch(dir.path(), 8, listed), StoreError::io_error) << "never written through a link";
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"TEMPDAT.007", "TEMPDAT.008"}));
}

// The close removes the scratch list files, and nothing that only looks like one.
TEST(ScratchFiles, TheCloseRemovesEveryScratchFileAndNothingElse) {
    TempDir dir;
    for (const char* name : {"TEMPDAT.000", "TEMPDAT.012", "TEMPDAT.", "TEMPDAT.old", "TEMPDAT", "TEMPDAT.0000",
                             "tempdat.001", "XTEMPDAT.000", "DAT20793.000"})
        dir.write(name, "");
    std::filesystem::create_directory(dir / "TEMPDAT.dir");
    EXPECT_EQ(purge_old(dir.path(), 20793, KeepCode::none).scratch_removed,
              (std::vector<std::string>{"TEMPDAT.000", "TEMPDAT.012"}));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{".daybrook.lock", "DAT20793.000", "TEMPDAT", "TEMPDAT.", "TEMPDAT.0000", "TEMPDAT.dir",
                                                     "TEMPDAT.old", "XTEMPDAT.000", "tempdat.001"}));
}

}  // namespace
}  // namespace daybrook
