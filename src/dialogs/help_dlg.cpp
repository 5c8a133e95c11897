#include "dialogs/help_dlg.h"

namespace daybrook {

HelpDlg::HelpDlg(QWidget* parent, HelpTopic topic) : TemplateDialog(help_template(topic), parent) {
    route(id_ok, [this] { accept(); });
}

void show_help(const DialogServices& services, QWidget* owner, HelpTopic topic) {
    HelpDlg help(owner, topic);
    services.modal.run(help);
}

}  // namespace daybrook
