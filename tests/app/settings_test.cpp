#include "app/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::TempDir;
constexpr DayNumber today = 20793;

TEST(Settings, FirstRunUsesDefaultsAndCreatesTheFileWithALowerCaseSection) {
    TempDir dir;
    const SettingsFile file(dir / "WYNDALE.INI");
    const Settings read = file.read(today).value();
    EXPECT_EQ(read, (Settings{.keep_code = 0, .last_set = today, .sounds_on = 1}));

    ASSERT_TRUE(file.write(read, today));
    const std::string text = dir.read("WYNDALE.INI");
    EXPECT_NE(text.find("[daybrook]"), std::string::npos) << text;
    EXPECT_NE(text.find("Sounds=1"), std::string::npos) << text;
    EXPECT_NE(text.find("KeepCode=0"), std::string::npos) << text;
    EXPECT_NE(text.find("LastSet=20793"), std::string::npos) << text;
    EXPECT_EQ(file.read(today + 5), read);
}

TEST(Settings, ReadsNumbersTheWayTheDiaryAlwaysHas) {
    TempDir dir;
    dir.write("WYNDALE.INI",
              "[DAYBROOK]\nKeepCode=  3 weeks\nLastSet=soon\nSounds=7\n");
    const Settings read = SettingsFile(dir / "WYNDALE.INI").read(today).value();
    EXPECT_EQ(read.keep_code, 3);
    EXPECT_EQ(read.last_set, 0);
    EXPECT_EQ(read.sounds_on, 7);

    // Only the first 24 characters of a value are read.
    dir.write("WYNDALE.INI", "[Daybrook]\nLastSet=00000000000000000000000012345\n");
    EXPECT_EQ(SettingsFile(dir / "WYNDALE.INI").read(today)->last_set, 0);
}

TEST(Settings, WritingKeepsOtherSectionsAndReplacesAZeroLastSetByToday) {
    TempDir dir;
    dir.write("WYNDALE.INI",
              "[Other]\nColour=blue\n\n[Daybrook]\nKeepCode=1\nLastSet=0\nSounds=7\nExtra=kept\n");
    const SettingsFile file(dir / "WYNDALE.INI");
    ASSERT_TRUE(file.write(file.read(today).value(), today));

    const Settings again = file.read(today + 1).value();
    EXPECT_EQ(again, (Settings{.keep_code = 1, .last_set = today, .sounds_on = 1}));
    const std::string text = dir.read("WYNDALE.INI");
    EXPECT_NE(text.find("Colour=blue"), std::string::npos) << text;
    EXPECT_NE(text.find("Extra=kept"), std::string::npos) << text;
    EXPECT_EQ(text.find("[daybrook]"), std::string::npos) << "one section, matched without case";
    EXPECT_EQ(dir.names(), std::vector<std::string>{"WYNDALE.INI"}) << "no temporary file left";
}

TEST(Settings, RewritingKeepsALinkedFileAndItsPermissions) {
    TempDir dir;
    std::filesystem::create_directory(dir / "dotfiles");
    dir.write("dotfiles/WYNDALE.INI", "[Daybrook]\nKeepCode=2\n");
    std::filesystem::permissions(dir / "dotfiles/WYNDALE.INI", std::filesystem::perms::owner_read |
                                                                  std::filesystem::perms::owner_write);
    std::filesystem::create_symlink("dotfiles/WYNDALE.INI", dir / "WYNDALE.INI");
    const SettingsFile file(dir / "WYNDALE.INI");
    ASSERT_TRUE(file.write(file.read(today).value(), today));

    EXPECT_TRUE(std::filesystem::is_symlink(dir / "WYNDALE.INI"));
    EXPECT_NE(dir.read("dotfiles/WYNDALE.INI").find("LastSet=20793"), std::string::npos);
    EXPECT_EQ(std::filesystem::status(dir / "dotfiles/WYNDALE.INI").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(Settings, AnUnreadableFileIsReportedAndLeftAlone) {
    TempDir dir;
    std::filesystem::create_directory(dir / "WYNDALE.INI");  // a folder where the file should be
    EXPECT_EQ(SettingsFile(dir / "WYNDALE.INI").read(today), std::nullopt);
    EXPECT_FALSE(SettingsFile(dir / "WYNDALE.INI").write(Settings{}, today));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "WYNDALE.INI"));
}

TEST(Settings, LivesInTheUsersConfigFolder) {
    EXPECT_EQ(settings_path("/x/config", "/home/u"), "/x/config/WYNDALE.INI");
    EXPECT_EQ(settings_path("", "/home/u"), "/home/u/.config/WYNDALE.INI");
    EXPECT_EQ(settings_path(nullptr, "/home/u"), "/home/u/.config/WYNDALE.INI");
}

}  // namespace
}  // namespace daybrook
