#include "window/start_date_command.h"

#include "dialogs/start_later_dlg.h"

namespace daybrook {

void run_start_date(QWidget* owner, DiaryState& state, const DialogServices& services) {
    StartLaterDlg dialog(owner, services, state.today, retention_limit(state.retention));
    if (services.modal.run(dialog)) state.view.start_day = dialog.start_day();
    state.view.page_mode = PageMode::week;
}

}  // namespace daybrook
