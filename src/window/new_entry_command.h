// The New Entry command: runs the New Date dialog and writes the entries it asks for, telling
// the user about any day that could not take its entry.
#pragma once

#include "framework/dialog_services.h"
#include "store/entry_files.h"
#include "window/diary_state.h"

class QWidget;

namespace daybrook {

// Returns whether entries were asked for (written or refused), so the page must be painted again.
bool run_new_entry(QWidget* owner, DiaryState& state, const DialogServices& services, const StoreDir& store);

}  // namespace daybrook
