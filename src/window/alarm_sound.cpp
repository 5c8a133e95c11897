#include "window/alarm_sound.h"

#include <algorithm>

namespace daybrook {
namespace {

// The sounds of alarm levels 1 to 3. The user's file comes first; the theme sound, played as a
// file of the freedesktop theme and then as the desktop theme's event, stands in for it: a ding
// for an entry this week, chimes for an entry today, a fanfare for a red-letter day today.
struct AlarmSound {
    const char* user_file;
    const char* theme_sound;
};

constexpr std::array<AlarmSound, 3> alarm_sounds{{
    {"thisweek.wav", "bell"},
    {"thisday.wav", "message-new-instant"},
    {"redlet.wav", "complete"},
}};

}  // namespace

// Preconditions: level is above none; anything else is read as the nearest level that has sounds.
std::array<SoundRequest, 3> alarm_tries(AlarmLevel level) {
    const int row = std::clamp(static_cast<int>(level), 1, 3) - 1;
    const AlarmSound& sound = alarm_sounds[static_cast<std::size_t>(row)];
    return {{
        {SoundRequest::Kind::user_file, sound.user_file},
        {SoundRequest::Kind::theme_file, sound.theme_sound},
        {SoundRequest::Kind::theme_event, sound.theme_sound},
    }};
}

// The sound counts as played once chosen, even when every try failed: the alarm is a courtesy
// that is neither retried nor reported. With sounds off nothing is chosen, so turning them on
// later still gives the run its one sound.
void sound_alarm(DiaryState& state, SoundPlayer& player) {
    if (state.sounds_on == 0 || state.alarm_level == AlarmLevel::none) return;
    if (!state.sound_played) {
        const auto tries = alarm_tries(state.alarm_level);
        if (!player.play(tries[0]) && !player.play(tries[1])) player.play(tries[2]);
    }
    state.sound_played = true;
}

}  // namespace daybrook
