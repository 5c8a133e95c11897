#include "window/new_entry_command.h"

#include "dialogs/simple_dlg.h"
#include "framework/qt_text.h"

namespace daybrook {
namespace {

// The dialog has refused a request that overfills a day; a day that filled up meanwhile, from
// another copy of the diary, is still told about here.
void report_unwritten(QWidget* owner, const WrittenEntries& result, MessageBoxes& messages) {
    if (!result.full_days.empty()) messages.show(owner, day_full_box(result.full_days));
    if (!result.failed_days.empty())
        messages.show(owner, {.text = qt_text(not_saved_message(result.failed_days)),
                              .caption = QStringLiteral("Save Error"),
                              .icon = MessageIcon::stop});
}

}  // namespace

void run_new_entry(QWidget* owner, DiaryState& state, const DialogServices& services, const StoreDir& store) {
    state.view.page_mode = PageMode::week;
    SimpleDlg dialog(owner, services, state.today, retention_limit(state.retention),
                     [&store](const NewEntryRequest& request) { return days_without_room(store, request); });
    if (!services.modal.run(dialog)) return;
    const NewEntryRequest& request = dialog.request();
    if (is_blank(request.text)) return;
    report_unwritten(owner, write_new_entries(store, request), services.messages);
}

}  // namespace daybrook
