// The Future Week and PastWeek commands: run Set Starting Date and, when a day is given, put the
// week page there. Either way the view shows the week page afterwards.
#pragma once

#include "diary/diary_state.h"
#include "framework/dialog_services.h"

class QWidget;

namespace daybrook {

void run_start_date(QWidget* owner, DiaryState& state, const DialogServices& services);

}  // namespace daybrook
