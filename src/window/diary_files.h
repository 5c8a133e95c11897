// What the main window reads when it starts and leaves behind when it closes: the settings, and
// the store tidied by the purge. Every trouble is one line on standard error; the user's entries
// and settings are never given up for it.
#pragma once

#include "config/settings.h"
#include "diary/diary_state.h"
#include "store/entry_files.h"

namespace daybrook {

// Takes the stored choices into the state for its `today`. Settings that cannot be read leave
// the defaults in place and mark the choice unknown.
void load_settings(DiaryState& state, const SettingsFile& file);

// Saves the three settings, then purges the store: passed yearly entries carried over, expired
// entries and scratch files deleted. With the choice unknown, nothing is saved or purged.
void save_and_purge(const DiaryState& state, const SettingsFile& file, const StoreDir& store);

}  // namespace daybrook
