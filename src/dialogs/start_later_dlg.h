// StartLaterDlg ("Set Starting Date"): the day from which the week page is to be shown, later or
// earlier, as far back as old entries are kept.
#pragma once

#include "calendar/date_check.h"
#include "calendar/day_number.h"
#include "framework/dialog_services.h"
#include "framework/template_dialog.h"

namespace daybrook {

class StartLaterDlg : public TemplateDialog {
    Q_OBJECT
public:
    StartLaterDlg(QWidget* parent, const DialogServices& services, DayNumber today, RetentionLimit limit);

    // The day typed, once the dialog has ended accepted.
    DayNumber start_day() const { return m_start_day; }

private:
    void take();

    DialogServices m_services;
    DayNumber m_today;
    RetentionLimit m_limit;
    DayNumber m_start_day = 0;
};

}  // namespace daybrook
