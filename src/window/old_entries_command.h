// The Old Entries command: runs Keep old Entries and applies the keeping time chosen; the oldest
// day held follows a changed choice at once, and the settings file gets it at close.
#pragma once

#include "diary/diary_state.h"
#include "framework/dialog_services.h"

class QWidget;

namespace daybrook {

void run_old_entries(QWidget* owner, DiaryState& state, const DialogServices& services);

}  // namespace daybrook
