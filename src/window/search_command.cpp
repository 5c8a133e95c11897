#include "window/search_command.h"

#include "dialogs/search_dlg.h"

namespace daybrook {

void run_search(QWidget* owner, DiaryState& state, const DialogServices& services) {
    SearchDlg dialog(owner, services);
    if (!services.modal.run(dialog)) return;
    const SearchRequest& request = dialog.request();
    state.view.page_mode = PageMode::search_results;
    state.view.search_word = request.word;
    state.view.case_sensitive = request.case_sensitive;
    state.view.show_all = request.show_all;
}

}  // namespace daybrook
