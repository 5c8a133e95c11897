// The Delete command: finds entries by a key word or a date (Find Entry for Deletion), lists
// them (Deletion Choice) and deletes the chosen ones, or cleans up the blank entries. Whatever
// happens, the view shows the week page afterwards. Deleted entries go to the desktop's trash;
// those that no trash can take are deleted for good only when the user says so, asked once.
// Entries that could not be deleted are named to the user.
#pragma once

#include "diary/diary_state.h"
#include "framework/dialog_services.h"
#include "store/entry_files.h"

class QWidget;

namespace daybrook {

void run_delete(QWidget* owner, DiaryState& state, const DialogServices& services, const StoreDir& store);

}  // namespace daybrook
