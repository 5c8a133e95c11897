// SearchDlg ("Search Diary"): asks for a word to look for in the memos, whether letter case
// counts, and whether to list every entry instead. The caller shows the results page from what
// the dialog gives back.
#pragma once

#include <string>

#include "framework/dialog_services.h"
#include "framework/template_dialog.h"

namespace daybrook {

struct SearchRequest {
    std::string word;  // record bytes; folded to lower case unless the search is case sensitive
    bool case_sensitive = false;
    bool show_all = false;
};

class SearchDlg : public TemplateDialog {
    Q_OBJECT
public:
    SearchDlg(QWidget* parent, const DialogServices& services);

    // The search asked for, once the dialog has ended accepted.
    const SearchRequest& request() const { return m_request; }

private:
    void set_up();
    void take();

    DialogServices m_services;
    SearchRequest m_request;
};

}  // namespace daybrook
