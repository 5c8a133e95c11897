// AheadDateDlg ("Check forward date"): shows the date a number of days ahead before an entry
// is made for it.
#pragma once

#include "calendar/day_number.h"
#include "framework/template_dialog.h"

namespace daybrook {

class AheadDateDlg : public TemplateDialog {
    Q_OBJECT
public:
    AheadDateDlg(QWidget* parent, DayNumber day);
};

}  // namespace daybrook
