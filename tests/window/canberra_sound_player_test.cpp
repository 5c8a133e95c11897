#include "framework/canberra_sound_player.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/environment_guard.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::EnvironmentGuard;
using testing::TempDir;
using Kind = SoundRequest::Kind;

// Sends every sound to ALSA's null device: plays then succeed without a sound card and stay
// silent on a desktop with a sound server.
const EnvironmentGuard::Values null_sound_device{{"CANBERRA_DRIVER", "alsa"}, {"CANBERRA_DEVICE", "null"}};

TEST(CanberraSoundPlayer, FindsTheUsersFileWithoutRegardToLetterCase) {
    struct Row {
        std::vector<std::string> files;
        std::vector<std::string> folders;
        std::optional<std::string> found;
    };
    const std::vector<Row> rows{
        {{"THISDAY.WAV"}, {}, "THISDAY.WAV"},
        {{"ThisDay.Wav", "other.wav"}, {}, "ThisDay.Wav"},
        {{"THISDAY.WAV", "thisday.wav"}, {}, "thisday.wav"},
        {{"ThisDay.wav", "THISDAY.WAV"}, {}, "THISDAY.WAV"},
        {{"thisday.wav.bak", "xthisday.wav", "thisweek.wav"}, {}, std::nullopt},
        {{}, {"THISDAY.WAV"}, std::nullopt},
        {{}, {}, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.files) + ::testing::PrintToString(row.folders));
        TempDir folder;
        for (const auto& name : row.files) folder.write(name, "RIFF");
        for (const auto& name : row.folders) std::filesystem::create_directory(folder / name);
        const auto found = find_file_ignoring_case(folder.path(), "thisday.wav");
        ASSERT_EQ(found.has_value(), row.found.has_value());
        if (found) {
            EXPECT_EQ(*found, folder / *row.found);
        }
    }
    EXPECT_EQ(find_file_ignoring_case("/nonexistent/daybrook", "thisday.wav"), std::nullopt);
}

TEST(CanberraSoundPlayer, AnswersFalseForSoundsThatCannotStart) {
    TempDir folder;
    folder.write("REDLET.WAV", "not a sound");
    for (bool null_device : {false, true}) {
        SCOPED_TRACE(null_device ? "null device" : "no device");
        const EnvironmentGuard device(null_device ? null_sound_device : EnvironmentGuard::Values{});
        CanberraSoundPlayer player(folder.path());
        EXPECT_FALSE(player.play({Kind::user_file, "thisday.wav"}));
        EXPECT_FALSE(player.play({Kind::user_file, "redlet.wav"}));
        EXPECT_FALSE(player.play({Kind::theme_file, "no-such-sound"}));
        EXPECT_FALSE(player.play({Kind::theme_event, "no-such-sound"}));
        EXPECT_FALSE(CanberraSoundPlayer("/nonexistent/daybrook").play({Kind::user_file, "redlet.wav"}));
    }
}

TEST(CanberraSoundPlayer, StartsTheUsersFileAndTheThemeSounds) {
    const EnvironmentGuard device(null_sound_device);
    TempDir folder;
    // Any sound libcanberra reads will do for the user's file; the theme's bell stands in.
    std::filesystem::copy_file("/usr/share/sounds/freedesktop/stereo/bell.oga", folder / "THISDAY.WAV");
    CanberraSoundPlayer player(folder.path());
    EXPECT_TRUE(player.play({Kind::user_file, "thisday.wav"}));
    EXPECT_TRUE(player.play({Kind::theme_file, "bell"}));
    EXPECT_TRUE(player.play({Kind::theme_event, "bell"}));
}

}  // namespace
}  // namespace daybrook
