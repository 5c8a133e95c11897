#include "framework/modal_runner.h"

#include "framework/template_dialog.h"

namespace daybrook {

bool QtModalRunner::run(TemplateDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

}  // namespace daybrook
