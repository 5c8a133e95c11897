// WarnDelDlg ("Warning!"): asks before a shorter keeping time lets older entries go at the next
// close. "Yes" ends it accepted; "No" and Escape end it declined.
#pragma once

#include "framework/template_dialog.h"

namespace daybrook {

class WarnDelDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit WarnDelDlg(QWidget* parent);
};

}  // namespace daybrook
