// DateChoiceDlg ("Which Date"): lists the next dates that fall on a weekday and lets the user
// take one or several of them.
#pragma once

#include <string>
#include <vector>

#include "calendar/day_number.h"
#include "framework/dialog_services.h"
#include "framework/template_dialog.h"

namespace daybrook {

class DateChoiceDlg : public TemplateDialog {
    Q_OBJECT
public:
    DateChoiceDlg(QWidget* parent, MessageBoxes& messages, int weekday, const std::vector<DayNumber>& dates);

    // The dates taken, as "dd/mm/yy" in list order, once the dialog has ended accepted.
    const std::vector<std::string>& chosen() const { return m_chosen; }

private:
    void set_up(int weekday, const std::vector<DayNumber>& dates);
    void take();

    MessageBoxes& m_messages;
    std::vector<std::string> m_chosen;
};

}  // namespace daybrook
