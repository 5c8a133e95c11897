// The New Entry command: runs the New Date dialog and writes the entries it asks for, telling
// the user about any day that could not take its entry.
#pragma once

#include "framework/dialog_services.h"
#include "store/entry_files.h"
#include "diary/diary_state.h"

class QWidget;

namespace daybrook {

// Puts the view on the week page, where the new entries show, and runs the dialog over the owner.
void run_new_entry(QWidget* owner, DiaryState& state, const DialogServices& services, const StoreDir& store);

}  // namespace daybrook
