// WarnDelDlg ("Warning!"): asks before a shorter keeping time lets older entries go at the next
// close. "Yes" ends it accepted; "No" and Escape end it declined. It opens with the keyboard on
// "No", and Enter presses the button that has the keyboard.
#pragma once

#include "framework/template_dialog.h"

namespace daybrook {

class WarnDelDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit WarnDelDlg(QWidget* parent);
};

}  // namespace daybrook
