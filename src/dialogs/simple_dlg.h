// SimpleDlg ("New Date"): the one way to make entries. The user types a date (dd/mm/yy, a day
// name or a number of days ahead), a memo and how to repeat it; the dialog checks each press and
// says why it refuses. A day name or days-ahead date is first turned into dates, after which a
// second press, on Confirm, ends the dialog. The request is read by the caller afterwards.
#pragma once

#include <optional>
#include <string>

#include "calendar/date_check.h"
#include "framework/dialog_services.h"
#include "framework/template_dialog.h"
#include "store/new_entries.h"
#include "window/diary_state.h"

namespace daybrook {

class SimpleDlg : public TemplateDialog {
    Q_OBJECT
public:
    SimpleDlg(QWidget* parent, const DialogServices& services, const DiaryState& state);

    // What to write, as read at the press that ended the dialog accepted.
    const NewEntryRequest& request() const { return m_request; }
    bool in_confirm_state() const { return m_confirm_state; }

private:
    void set_up();
    void accept_first();
    void accept_confirm();
    void read_fields();
    bool take_day_name();
    bool take_days_ahead();
    std::optional<DateCheck> checked_date();
    bool check_plain_date();
    bool check_day_count();
    bool check_confirmed_date();
    bool check_within_diary();
    bool check_memo();
    void enter_confirm_state();
    void refuse_short_form();
    void tell(std::string_view text, std::string_view caption, MessageIcon icon = MessageIcon::none);
    std::string field(int id) const;
    bool marked(int id) const;

    DialogServices m_services;
    const DiaryState& m_state;
    NewEntryRequest m_request;
    bool m_confirm_state = false;
};

}  // namespace daybrook
