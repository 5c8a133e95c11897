// KeepTimeDlg ("Keep old Entries"): how long entries are kept after their day has passed. A
// shorter time than the present one is asked about first (WarnDelDlg), since entries that the
// longer time still keeps will go at the next close.
#pragma once

#include "framework/dialog_services.h"
#include "framework/template_dialog.h"
#include "store/keep_code.h"

namespace daybrook {

class KeepTimeDlg : public TemplateDialog {
    Q_OBJECT
public:
    // The present code is shown chosen; a code no choice stands for (from an edited settings
    // file) shows no choice at all.
    KeepTimeDlg(QWidget* parent, const DialogServices& services, KeepCode current);

    // The code chosen, once the dialog has ended accepted: the present one when nothing was
    // chosen, never a code beyond the five.
    KeepCode chosen() const { return m_chosen; }

private:
    void set_up();
    void take();
    void show_choice(KeepCode code);
    void focus_present_choice();
    std::optional<KeepCode> marked_choice() const;

    DialogServices m_services;
    KeepCode m_current;
    KeepCode m_chosen;
};

}  // namespace daybrook
