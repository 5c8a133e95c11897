// The Search command: runs Search Diary and, when it is accepted, puts the view on the
// search-results page for the word asked for.
#pragma once

#include "diary/diary_state.h"
#include "framework/dialog_services.h"

class QWidget;

namespace daybrook {

void run_search(QWidget* owner, DiaryState& state, const DialogServices& services);

}  // namespace daybrook
