// DateChoiceDlg ("Which Date"): lists the next dates that fall on a weekday and lets the user
// take one or several of them.
#pragma once

#include <vector>

#include "calendar/day_number.h"
#include "framework/dialog_services.h"
#include "framework/template_dialog.h"

namespace daybrook {

class DateChoiceDlg : public TemplateDialog {
    Q_OBJECT
public:
    DateChoiceDlg(QWidget* parent, MessageBoxes& messages, int weekday, const std::vector<DayNumber>& dates);

    // The dates taken, in list order, once the dialog has ended accepted.
    const std::vector<DayNumber>& chosen() const { return m_chosen; }

private:
    void set_up(int weekday);
    void take();

    MessageBoxes& m_messages;
    std::vector<DayNumber> m_offered;  // the list's dates, row by row
    std::vector<DayNumber> m_chosen;
};

}  // namespace daybrook
