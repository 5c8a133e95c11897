// The alarm sound played when the diary shows this week: one sound for an entry in the week,
// another for an entry today, a third for a red-letter day today; at most once a run.
#pragma once

#include <array>

#include "framework/sound_player.h"
#include "diary/diary_state.h"

namespace daybrook {

// The three tries for an alarm level above none, in order.
std::array<SoundRequest, 3> alarm_tries(AlarmLevel level);

// Plays the sound of the state's alarm level when sounds are on and none was chosen yet this
// run, and remembers that one was chosen.
void sound_alarm(DiaryState& state, SoundPlayer& player);

}  // namespace daybrook
