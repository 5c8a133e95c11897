#include "window/alarm_sound.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/recording_sound_player.h"

namespace daybrook {
namespace {

using testing::RecordingSoundPlayer;
using Kind = SoundRequest::Kind;

DiaryState state_with(AlarmLevel level, int sounds_on = 1, bool sound_played = false) {
    DiaryState state;
    state.alarm_level = level;
    state.sounds_on = sounds_on;
    state.sound_played = sound_played;
    return state;
}

TEST(AlarmSound, EachLevelTriesItsUserFileThenItsThemeSoundAsFileThenAsEvent) {
    struct Row {
        AlarmLevel level;
        std::string user_file;
    };
    const std::vector<Row> rows{
        {AlarmLevel::week, "thisweek.wav"},
        {AlarmLevel::today, "thisday.wav"},
        {AlarmLevel::red_letter_today, "redlet.wav"},
    };
    std::set<std::string> theme_sounds;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.user_file);
        const auto tries = alarm_tries(row.level);
        EXPECT_EQ(tries[0], (SoundRequest{Kind::user_file, row.user_file}));
        EXPECT_EQ(tries[1].kind, Kind::theme_file);
        EXPECT_EQ(tries[2], (SoundRequest{Kind::theme_event, tries[1].name}));
        EXPECT_TRUE(std::filesystem::is_regular_file("/usr/share/sounds/freedesktop/stereo/" + tries[1].name + ".oga"))
            << "the freedesktop sound theme has no " << tries[1].name;
        theme_sounds.insert(tries[1].name);
    }
    EXPECT_EQ(theme_sounds.size(), 3u) << "each level has a sound of its own";
}

TEST(AlarmSound, TriesInOrderUntilOneStartsAndNeverLooksAtTheLast) {
    struct Row {
        std::deque<bool> results;
        std::size_t tries_made;
    };
    const std::vector<Row> rows{
        {{true}, 1},
        {{false, true}, 2},
        {{false, false, true}, 3},
        {{false, false, false}, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tries_made);
        RecordingSoundPlayer player(row.results);
        DiaryState state = state_with(AlarmLevel::today);
        sound_alarm(state, player);
        const auto expected = alarm_tries(AlarmLevel::today);
        EXPECT_EQ(player.requests, std::vector<SoundRequest>(expected.begin(), expected.begin() + row.tries_made));
        EXPECT_TRUE(state.sound_played) << "a sound counts as chosen even when every try failed";
        EXPECT_EQ(state.alarm_level, AlarmLevel::today);
    }
}

TEST(AlarmSound, PlaysOncePerRunEvenWhenTheLevelRisesLater) {
    RecordingSoundPlayer player;
    DiaryState state = state_with(AlarmLevel::week);
    sound_alarm(state, player);
    ASSERT_EQ(player.requests.size(), 1u);
    EXPECT_EQ(player.requests[0].name, "thisweek.wav");

    state.alarm_level = AlarmLevel::red_letter_today;
    sound_alarm(state, player);
    sound_alarm(state, player);
    EXPECT_EQ(player.requests.size(), 1u);
    EXPECT_TRUE(state.sound_played);
    EXPECT_EQ(state.alarm_level, AlarmLevel::red_letter_today);
}

TEST(AlarmSound, SoundsOffChooseNothingSoTurningThemOnLaterStillPlaysOnce) {
    RecordingSoundPlayer player;
    DiaryState state = state_with(AlarmLevel::red_letter_today, 0);
    sound_alarm(state, player);
    EXPECT_TRUE(player.requests.empty());
    EXPECT_FALSE(state.sound_played);

    state.sounds_on = -1;  // any non-zero value is on
    sound_alarm(state, player);
    sound_alarm(state, player);
    EXPECT_EQ(player.requests, std::vector<SoundRequest>{alarm_tries(AlarmLevel::red_letter_today)[0]});
    EXPECT_TRUE(state.sound_played);

    state.sounds_on = 0;
    sound_alarm(state, player);
    EXPECT_TRUE(state.sound_played) << "turning sounds off does not undo the choice";
}

TEST(AlarmSound, NothingFoundPlaysNothingUntilTheLevelRises) {
    RecordingSoundPlayer player;
    DiaryState state = state_with(AlarmLevel::none);
    sound_alarm(state, player);
    sound_alarm(state, player);
    EXPECT_TRUE(player.requests.empty());
    EXPECT_FALSE(state.sound_played);

    state.alarm_level = AlarmLevel::week;
    sound_alarm(state, player);
    EXPECT_EQ(player.requests, std::vector<SoundRequest>{alarm_tries(AlarmLevel::week)[0]});
    EXPECT_TRUE(state.sound_played);
}

}  // namespace
}  // namespace daybrook
