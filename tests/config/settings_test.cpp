#include "config/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/permissions_bite.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::PermissionsBite;
using testing::TempDir;
namespace fs = std::filesystem;
constexpr DayNumber today = 20793;

// The values read, failing the test when the file gave a problem instead.
Settings stored(const SettingsFile& file, DayNumber day = today) {
    const auto read = file.read(day);
    if (const auto* problem = std::get_if<SettingsProblem>(&read)) {
        ADD_FAILURE() << problem->reason;
        return {};
    }
    return std::get<Settings>(read);
}

bool saved(const SettingsFile& file, const Settings& settings) {
    const std::optional<SettingsProblem> problem = file.write(settings, today);
    if (problem) ADD_FAILURE() << problem->reason;
    return !problem;
}

TEST(Settings, FirstRunUsesDefaultsAndCreatesTheFileWithALowerCaseSection) {
    TempDir dir;
    const SettingsFile file(dir / "WYNDALE.INI");
    const Settings read = stored(file);
    EXPECT_EQ(read, (Settings{.keep_code = KeepCode::none, .last_set = today, .sounds_on = true}));

    ASSERT_TRUE(saved(file, read));
    const std::string text = dir.read("WYNDALE.INI");
    EXPECT_NE(text.find("[daybrook]"), std::string::npos) << text;
    EXPECT_NE(text.find("Sounds=1"), std::string::npos) << text;
    EXPECT_NE(text.find("KeepCode=0"), std::string::npos) << text;
    EXPECT_NE(text.find("LastSet=20793"), std::string::npos) << text;
    EXPECT_EQ(stored(file, today + 5), read);
    EXPECT_EQ(fs::status(dir / "WYNDALE.INI").permissions(), fs::perms::owner_read | fs::perms::owner_write)
        << "a new settings file is private";
}

TEST(Settings, ReadsNumbersTheWayTheDiaryAlwaysHas) {
    TempDir dir;
    dir.write("WYNDALE.INI",
              "[DAYBROOK]\nKeepCode=  3 weeks\nLastSet=soon\nSounds=7\n");
    const Settings read = stored(SettingsFile(dir / "WYNDALE.INI"));
    EXPECT_EQ(read.keep_code, KeepCode::year);
    EXPECT_EQ(read.last_set, 0);
    EXPECT_TRUE(read.sounds_on) << "any number but 0 is on";

    // Tabs, form feeds and the end-of-file mark of a file from DOS are text.
    dir.write("WYNDALE.INI", "[Daybrook]\r\n\tKeepCode=2\f\r\n\x1a");
    EXPECT_EQ(stored(SettingsFile(dir / "WYNDALE.INI")).keep_code, KeepCode::month);

    // Only the first 24 characters of a value are read.
    dir.write("WYNDALE.INI", "[Daybrook]\nLastSet=00000000000000000000000012345\n");
    EXPECT_EQ(stored(SettingsFile(dir / "WYNDALE.INI")).last_set, 0);
}

TEST(Settings, WritingKeepsOtherSectionsAndReplacesAZeroLastSetByToday) {
    TempDir dir;
    dir.write("WYNDALE.INI",
              "[Other]\nColour=blue\n\n[Daybrook]\nKeepCode=1\nLastSet=0\nSounds=7\nExtra=kept\n");
    const SettingsFile file(dir / "WYNDALE.INI");
    ASSERT_TRUE(saved(file, stored(file)));

    const Settings again = stored(file, today + 1);
    EXPECT_EQ(again, (Settings{.keep_code = KeepCode::week, .last_set = today, .sounds_on = true}));
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
    ASSERT_TRUE(saved(file, stored(file)));

    EXPECT_TRUE(std::filesystem::is_symlink(dir / "WYNDALE.INI"));
    EXPECT_NE(dir.read("dotfiles/WYNDALE.INI").find("LastSet=20793"), std::string::npos);
    EXPECT_EQ(std::filesystem::status(dir / "dotfiles/WYNDALE.INI").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

// Anything but "no such file" leaves the user's choice unknown: no defaults, nothing written.
TEST(Settings, AFileThatIsThereButCannotBeReadWholeIsAProblemAndLeftAlone) {
    struct Case {
        const char* what;
        void (*arrange)(const TempDir& dir);
    };
    const Case cases[] = {
        {"a folder in its place", [](const TempDir& dir) { fs::create_directory(dir / "config/WYNDALE.INI"); }},
        {"a link to itself", [](const TempDir& dir) { fs::create_symlink("WYNDALE.INI", dir / "config/WYNDALE.INI"); }},
        // The dotfiles it leads to are not there (not mounted yet, say): not a first start.
        {"a link whose file is missing",
         [](const TempDir& dir) { fs::create_symlink("../dotfiles/WYNDALE.INI", dir / "config/WYNDALE.INI"); }},
        {"a zero byte before the diary's section",
         [](const TempDir& dir) { dir.write("config/WYNDALE.INI", std::string("[Other]\nA=\0\n[Daybrook]\nKeepCode=4\n", 32)); }},
        // Read as an INI file, they would give the defaults, which let old entries expire.
        {"random bytes", [](const TempDir& dir) { dir.write("config/WYNDALE.INI", "x=\x8f\x03\xe1[\x17\x7f=\xc4\n"); }},
        {"a folder that cannot be searched",
         [](const TempDir& dir) {
             dir.write("config/WYNDALE.INI", "[Daybrook]\nKeepCode=4\n");
             fs::permissions(dir / "config", fs::perms::none);
         }},
        {"a file that cannot be read",
         [](const TempDir& dir) {
             dir.write("config/WYNDALE.INI", "[Daybrook]\nKeepCode=4\n");
             fs::permissions(dir / "config/WYNDALE.INI", fs::perms::none);
         }},
    };
    for (const Case& c : cases) {
        TempDir dir;
        fs::create_directory(dir / "config");
        c.arrange(dir);
        const SettingsFile file(dir / "config/WYNDALE.INI");
        {
            PermissionsBite bite;
            EXPECT_TRUE(std::holds_alternative<SettingsProblem>(file.read(today))) << c.what;
            EXPECT_TRUE(file.write(Settings{}, today).has_value()) << c.what;
        }
        fs::permissions(dir / "config", fs::perms::owner_all);
        std::error_code ignored;
        fs::permissions(dir / "config/WYNDALE.INI", fs::perms::owner_read, fs::perm_options::add, ignored);
        if (fs::is_regular_file(dir / "config/WYNDALE.INI", ignored)) {
            EXPECT_EQ(dir.read("config/WYNDALE.INI").find("KeepCode=0"), std::string::npos) << c.what;
        }
        EXPECT_EQ(fs::directory_iterator(dir / "config")->path().filename(), "WYNDALE.INI") << c.what;
        EXPECT_FALSE(fs::exists(dir / "dotfiles")) << c.what;
    }
}

// Saving changes the three values and not one other byte.
TEST(Settings, SavingKeepsEveryByteOutsideTheDiarysKeys) {
    struct Case {
        std::string before, after;
    };
    const Settings values{.keep_code = KeepCode::for_ever, .last_set = 20000, .sounds_on = false};
    const Case cases[] = {
        {"", "[daybrook]\nSounds=0\nKeepCode=4\nLastSet=20000\n"},
        {"; mine\n[Other]\nno equals sign here\n  Spaced = out  \n",
         "; mine\n[Other]\nno equals sign here\n  Spaced = out  \n[daybrook]\nSounds=0\nKeepCode=4\nLastSet=20000\n"},
        {"[Other]\nA=1", "[Other]\nA=1\n[daybrook]\nSounds=0\nKeepCode=4\nLastSet=20000\n"},
        {"[ DAYBROOK ]\r\n  keepcode = 2 ; two\r\n# Sounds=1\r\nnote\r\n\r\n[Other]\r\nLastSet=5\r\n",
         "[ DAYBROOK ]\r\n  keepcode = 4\r\n# Sounds=1\r\nnote\r\nSounds=0\r\nLastSet=20000\r\n\r\n[Other]\r\nLastSet=5\r\n"},
        {"[Daybrook]\nKeepCode=1\n[Other]\nX=y\n[daybrook]\nKeepCode=3\nSounds=1\nLastSet=20000",
         "[Daybrook]\nKeepCode=4\n[Other]\nX=y\n[daybrook]\nKeepCode=4\nSounds=0\nLastSet=20000"},
        // Lines and headers as the reader takes them: a lone "\r" ends a line, a header's name may
        // follow its "[" on a later line, a header without "]" names no section, and a UTF-8
        // signature is no part of the first line.
        {"[Daybrook]\rSounds=1\rKeepCode=2\r", "[Daybrook]\rSounds=0\rKeepCode=4\rLastSet=20000\r"},
        {"[\n  daybrook ]\nSounds=1\n", "[\n  daybrook ]\nSounds=0\nKeepCode=4\nLastSet=20000\n"},
        {"[daybrook\nKeepCode=1\n", "[daybrook\nKeepCode=1\n[daybrook]\nSounds=0\nKeepCode=4\nLastSet=20000\n"},
        {"[Other]\nA=1\n[\n", "[Other]\nA=1\n[daybrook]\nSounds=0\nKeepCode=4\nLastSet=20000\n[\n"},
        {"\xEF\xBB\xBF[Daybrook]\nKeepCode=1\n", "\xEF\xBB\xBF[Daybrook]\nKeepCode=4\nSounds=0\nLastSet=20000\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("WYNDALE.INI", c.before);
        const SettingsFile file(dir / "WYNDALE.INI");
        ASSERT_TRUE(saved(file, values));
        EXPECT_EQ(dir.read("WYNDALE.INI"), c.after) << c.before;
        EXPECT_EQ(stored(file), values) << c.before;
    }
}

// A save that cannot happen names what stood in the way and why, and leaves what is there.
TEST(Settings, ASaveThatCannotHappenNamesWhyAndLeavesTheFileAlone) {
    TempDir dir;
    dir.write("WYNDALE.INI", "[Daybrook]\nKeepCode=2\n");
    fs::permissions(dir / "WYNDALE.INI", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_directory(dir / "locked");
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    struct Case {
        fs::path path;
        std::string reason;
    };
    const Case cases[] = {
        {dir / "WYNDALE.INI", (dir / "WYNDALE.INI").string() + " is read-only"},
        {dir / "locked" / "daybrook" / "WYNDALE.INI", "cannot make " + (dir / "locked" / "daybrook").string() + ": Permission denied"},
    };
    const PermissionsBite bite;
    for (const Case& c : cases) {
        const std::optional<SettingsProblem> problem = SettingsFile(c.path).write(Settings{}, today);
        ASSERT_TRUE(problem.has_value()) << c.path;
        EXPECT_EQ(problem->reason, c.reason);
    }
    EXPECT_EQ(dir.read("WYNDALE.INI"), "[Daybrook]\nKeepCode=2\n");
    EXPECT_FALSE(fs::exists(dir / "locked" / "daybrook"));
}

TEST(Settings, LivesInTheUsersConfigFolder) {
    EXPECT_EQ(settings_path("/x/config", "/home/u"), "/x/config/WYNDALE.INI");
    EXPECT_EQ(settings_path("", "/home/u"), "/home/u/.config/WYNDALE.INI");
    EXPECT_EQ(settings_path(nullptr, "/home/u"), "/home/u/.config/WYNDALE.INI");
}

}  // namespace
}  // namespace daybrook
