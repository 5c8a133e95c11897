#include "dialogs/warn_del_dlg.h"

#include "resources/dialog_templates.h"

namespace daybrook {

WarnDelDlg::WarnDelDlg(QWidget* parent) : TemplateDialog(warn_delete_template(), parent) {
    route(id_ok, [this] { accept(); });
}

}  // namespace daybrook
