#include "config/diary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "support/permissions_bite.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::PermissionsBite;
using testing::TempDir;
namespace fs = std::filesystem;

struct FolderCase {
    const char* what;
    std::optional<std::string> xdg_data_home;  // nothing: unset
    std::optional<std::string> home;
    std::string expected;  // the folder made, or empty when it cannot be
};

// The permission bits as a plain number, to compare with octal modes.
unsigned mode_of(const fs::path& path) { return static_cast<unsigned>(fs::status(path).permissions()); }

TEST(DiaryFolder, MadePrivateWhereTheEnvironmentSaysAndEveryFailureReported) {
    TempDir dir;
    const std::string root = dir.path().string();
    // Someone's existing folder, open to the group, with an entry in it.
    fs::create_directories(dir / "kept/daybrook");
    fs::permissions(dir / "kept/daybrook", static_cast<fs::perms>(0750));
    dir.write("kept/daybrook/DAT20793.000", "entry");
    dir.write("file", "not a folder");
    fs::create_directories(dir / "taken");
    dir.write("taken/daybrook", "not a folder either");
    fs::create_directories(dir / "locked");
    fs::permissions(dir / "locked", static_cast<fs::perms>(0500));

    const std::vector<FolderCase> cases = {
        {"data home set", root + "/data", root + "/home", root + "/data/daybrook"},
        {"data home empty", "", root + "/home1", root + "/home1/.local/share/daybrook"},
        {"data home unset", std::nullopt, root + "/home2", root + "/home2/.local/share/daybrook"},
        {"data home relative", "data", root + "/home3", root + "/home3/.local/share/daybrook"},
        {"existing folder", root + "/kept", std::nullopt, root + "/kept/daybrook"},
        {"no home at all", std::nullopt, std::nullopt, ""},
        {"relative home", "", "home", ""},
        {"a file above it", root + "/file", root + "/home", ""},
        {"a file in its place", root + "/taken", root + "/home", ""},
        {"no permission", root + "/locked", root + "/home", ""},
    };
    const PermissionsBite bite;
    for (const FolderCase& c : cases) {
        const auto made = make_diary_folder(c.xdg_data_home ? c.xdg_data_home->c_str() : nullptr,
                                            c.home ? c.home->c_str() : nullptr);
        if (c.expected.empty()) {
            const auto* problem = std::get_if<FolderProblem>(&made);
            ASSERT_NE(problem, nullptr) << c.what;
            EXPECT_FALSE(problem->reason.empty()) << c.what;
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<fs::path>(made)) << c.what << ": " << std::get<FolderProblem>(made).reason;
        EXPECT_EQ(std::get<fs::path>(made), c.expected) << c.what;
        EXPECT_TRUE(fs::is_directory(c.expected)) << c.what;
    }

    // Made folders, those above the diary's too, are the owner's alone; an existing one keeps
    // its mode and its entries.
    for (const char* made : {"data", "data/daybrook", "home1/.local", "home1/.local/share/daybrook"})
        EXPECT_EQ(mode_of(dir / made), 0700u) << made;
    EXPECT_EQ(mode_of(dir / "kept/daybrook"), 0750u);
    EXPECT_EQ(dir.read("kept/daybrook/DAT20793.000"), "entry");
    EXPECT_EQ(dir.read("taken/daybrook"), "not a folder either");
    EXPECT_FALSE(fs::exists(dir / "home")) << "a failure falls back to nothing";
}

TEST(DiaryFolder, GivenFolderMustBeThereAndEveryNameOfAFolderIsOneDiary) {
    TempDir dir;
    const fs::path real = fs::canonical(dir.path());
    fs::create_directories(dir / "second");
    fs::create_directory_symlink(dir / "second", dir / "link");
    dir.write("file", "not a folder");
    const std::string data = (real / "data").string();

    const std::vector<std::pair<std::optional<std::string>, std::string>> cases = {
        {(real / "second").string(), (real / "second").string()},
        {(real / "second/../second/.").string(), (real / "second").string()},
        {(real / "link").string(), (real / "second").string()},
        {std::nullopt, (real / "data/daybrook").string()},
        {(real / "missing").string(), ""},
        {(real / "file").string(), ""},
    };
    for (const auto& [given, expected] : cases) {
        const auto found = find_diary_folder(given, data.c_str(), nullptr);
        const std::string shown = given.value_or("(own folder)");
        if (expected.empty()) {
            EXPECT_TRUE(std::holds_alternative<FolderProblem>(found)) << shown;
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<fs::path>(found)) << shown << ": " << std::get<FolderProblem>(found).reason;
        EXPECT_EQ(std::get<fs::path>(found), expected) << shown;
    }
    EXPECT_FALSE(fs::exists(dir / "missing")) << "a mistyped folder is not made";
    EXPECT_EQ(mode_of(dir / "data/daybrook"), 0700u);
}

}  // namespace
}  // namespace daybrook
