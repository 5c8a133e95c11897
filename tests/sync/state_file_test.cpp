// The state file is the diary's own: whatever stands under its name is read without blocking,
// reported as damaged when it cannot be read, and replaced by a private regular file.
#include "sync/state_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "support/permissions_bite.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::PermissionsBite;
using testing::TempDir;
namespace fs = std::filesystem;

const std::string vdir = "/home/someone/calendar";

SyncState sample_state() {
    SyncState state{.vdir = vdir, .items = {}};
    state.items.push_back({.vdir_name = "party.ics",
                           .vdir_etag = {12, 34, 56, 7},
                           .vdir_hash = 0x0123456789abcdefu,
                           .horizon = 20800,
                           .repeats = true,
                           .entries = {{"DAT20793.000", {98, 111, 76, 5}, 42}}});
    return state;
}

TEST(StateFile, KeepsTheStateOfOneVdirAndTrustsNoOtherText) {
    TempDir diary;
    EXPECT_EQ(load_sync_state(diary.path(), vdir).outcome, StateRead::none) << "no file yet";
    ASSERT_TRUE(save_sync_state(diary.path(), sample_state()));
    const LoadedState loaded = load_sync_state(diary.path(), vdir);
    EXPECT_EQ(loaded.outcome, StateRead::loaded);
    EXPECT_EQ(loaded.state, sample_state());
    EXPECT_EQ(load_sync_state(diary.path(), "/elsewhere").outcome, StateRead::none) << "another vdir's";

    const std::string text = diary.read(std::string(sync_state_file));
    diary.write(std::string(sync_state_file), text.substr(0, text.size() - 3));
    EXPECT_EQ(load_sync_state(diary.path(), vdir).outcome, StateRead::damaged) << "cut short";
}

TEST(StateFile, ReadsNothingItCannotTrustAndSavesAPrivateFileInItsPlace) {
    struct Case {
        const char* what;
        std::function<void(const TempDir&, const fs::path&)> make;  // puts it at the state's name
        StateRead read;
        bool saved;
        bool bite = false;  // load without root's power to read past permissions
    };
    const std::string state_text_saved = state_text(sample_state());
    const Case cases[] = {
        {"a directory", [](const TempDir&, const fs::path& path) { fs::create_directory(path); }, StateRead::damaged,
         false},
        {"a FIFO", [](const TempDir&, const fs::path& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
         StateRead::damaged, true},
        {"a file no one may read",
         [&](const TempDir& dir, const fs::path& path) {
             dir.write(path.filename(), state_text_saved);
             fs::permissions(path, fs::perms::none);
         },
         StateRead::damaged, true, true},
        {"a file others may read",
         [&](const TempDir& dir, const fs::path& path) {
             dir.write(path.filename(), state_text_saved);
             fs::permissions(path, fs::perms(0644));
         },
         StateRead::loaded, true},
        {"a link to a file others may read",
         [&](const TempDir& dir, const fs::path& path) {
             dir.write("target", state_text_saved);
             fs::permissions(dir / "target", fs::perms(0644));
             fs::create_symlink("target", path);
         },
         StateRead::loaded, true},
        {"a link that leads nowhere",
         [](const TempDir&, const fs::path& path) { fs::create_symlink("missing", path); }, StateRead::none, true},
    };
    for (const Case& test : cases) {
        TempDir diary;
        const fs::path path = diary / std::string(sync_state_file);
        test.make(diary, path);
        {
            std::optional<PermissionsBite> bite;
            if (test.bite) bite.emplace();
            EXPECT_EQ(load_sync_state(diary.path(), vdir).outcome, test.read) << test.what;
        }
        SyncState changed = sample_state();
        changed.items.front().horizon += 7;
        EXPECT_EQ(save_sync_state(diary.path(), changed), test.saved) << test.what;
        if (!test.saved) continue;
        struct stat info {};
        ASSERT_EQ(::lstat(path.c_str(), &info), 0) << test.what;
        EXPECT_TRUE(S_ISREG(info.st_mode)) << test.what;
        EXPECT_EQ(info.st_mode & 07777, 0600u) << test.what;
        EXPECT_EQ(load_sync_state(diary.path(), vdir).state, changed) << test.what;
        if (diary.exists("target")) {
            EXPECT_EQ(diary.read("target"), state_text_saved) << "the link's file stays";
        }
    }
}

}  // namespace
}  // namespace daybrook
