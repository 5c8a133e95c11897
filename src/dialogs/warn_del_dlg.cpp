#include "dialogs/warn_del_dlg.h"

#include <QPushButton>

#include "resources/dialog_templates.h"

namespace daybrook {

WarnDelDlg::WarnDelDlg(QWidget* parent) : TemplateDialog(warn_delete_template(), parent) {
    route(id_ok, [this] { accept(); });
    // The safe answer has the keyboard, so that Enter out of habit deletes nothing.
    button(id_cancel)->setFocus();
}

}  // namespace daybrook
