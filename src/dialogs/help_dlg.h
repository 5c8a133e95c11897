// HelpDlg: shows one help text, or the About box, until the user presses OK. A dialog's Help
// button opens its own topic over the dialog, which is as it was when the help closes.
#pragma once

#include <filesystem>

#include "framework/dialog_services.h"
#include "framework/template_dialog.h"
#include "resources/help_templates.h"

namespace daybrook {

class HelpDlg : public TemplateDialog {
    Q_OBJECT
public:
    HelpDlg(QWidget* parent, HelpTopic topic);
};

// Runs the help of the topic over the owner.
void show_help(const DialogServices& services, QWidget* owner, HelpTopic topic);

// Runs General Help over the owner, naming the diary folder in use.
void show_general_help(const DialogServices& services, QWidget* owner, const std::filesystem::path& diary_folder);

}  // namespace daybrook
