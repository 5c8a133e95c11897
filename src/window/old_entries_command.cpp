#include "window/old_entries_command.h"

#include "dialogs/keep_time_dlg.h"

namespace daybrook {

void run_old_entries(QWidget* owner, DiaryState& state, const DialogServices& services) {
    KeepTimeDlg dialog(owner, services, state.retention.keep_code);
    if (!services.modal.run(dialog)) return;
    state.retention.chosen_in_run = true;
    // The oldest day held is recomputed only when the choice changed.
    if (dialog.chosen() != state.retention.keep_code) set_keep_code(state.retention, dialog.chosen(), state.today);
}

}  // namespace daybrook
