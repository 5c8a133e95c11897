// SimpleDlg ("New Date"): the one way to make entries. The user types a date (dd/mm/yy, a day
// name or a number of days ahead), a memo and how to repeat it; the dialog checks each press and
// says why it refuses. A day name or days-ahead date is first turned into dates, after which a
// second press, on Confirm, ends the dialog. The request is read by the caller afterwards.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calendar/date_check.h"
#include "framework/dialog_services.h"
#include "framework/template_dialog.h"
#include "store/new_entries.h"

namespace daybrook {

// The days of a request that have no room left for its entries.
using RoomCheck = std::function<std::vector<DayNumber>(const NewEntryRequest&)>;

// What the user is told when days have no room left for more entries.
Message day_full_box(const std::vector<DayNumber>& days);

class SimpleDlg : public TemplateDialog {
    Q_OBJECT
public:
    // Dates are checked against today and the retention limit; a request that would overfill a
    // day is refused by the room check, with the dialog left open as the user filled it.
    SimpleDlg(QWidget* parent, const DialogServices& services, DayNumber today, RetentionLimit limit,
              RoomCheck room);

    // What to write, as read at the press that ended the dialog accepted.
    const NewEntryRequest& request() const { return m_request; }
    bool in_confirm_state() const { return m_confirm_state; }

private:
    void set_up();
    void accept_first();
    void accept_confirm();
    bool read_fields();
    bool take_day_name();
    bool take_days_ahead();
    std::optional<DateCheck> checked_date();
    bool check_plain_date();
    bool check_day_count();
    bool check_confirmed_date();
    bool check_within_diary();
    bool check_memo();
    bool check_room();
    void enter_confirm_state();
    void refuse_short_form();
    void tell(std::string_view text, std::string_view caption, MessageIcon icon = MessageIcon::none);
    bool marked(int id) const;

    DialogServices m_services;
    DayNumber m_today;
    RetentionLimit m_limit;
    RoomCheck m_room;
    NewEntryRequest m_request;
    std::string m_typed_date;  // the date field and the counts as read at the last press
    int m_typed_weeks = 0;
    int m_typed_days = 0;
    bool m_confirm_state = false;
};

}  // namespace daybrook
