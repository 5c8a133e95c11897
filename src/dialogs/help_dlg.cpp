#include "dialogs/help_dlg.h"

#include <QDir>
#include <QFile>
#include <QLabel>

namespace daybrook {

HelpDlg::HelpDlg(QWidget* parent, HelpTopic topic) : TemplateDialog(help_template(topic), parent) {
    route(id_ok, [this] { accept(); });
}

void show_help(const DialogServices& services, QWidget* owner, HelpTopic topic) {
    HelpDlg help(owner, topic);
    services.modal.run(help);
}

void show_general_help(const DialogServices& services, QWidget* owner, const std::filesystem::path& diary_folder) {
    HelpDlg help(owner, HelpTopic::general);
    const QString folder = QDir(QFile::decodeName(diary_folder.c_str())).absolutePath();
    help.set_static_text(general_help_folder_id,
                         help.static_text(general_help_folder_id)->text().arg(folder));
    services.modal.run(help);
}

}  // namespace daybrook
