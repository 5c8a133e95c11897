#include "dialogs/simple_dlg.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

#include "calendar/date_check.h"
#include "calendar/text_helpers.h"
#include "dialogs/date_steps.h"
#include "dialogs/field_text.h"
#include "dialogs/help_dlg.h"
#include "framework/qt_text.h"
#include "resources/dialog_templates.h"

namespace daybrook {

namespace ids = new_entry_ids;

Message day_full_box(const std::vector<DayNumber>& days) {
    return {.text = qt_text(day_full_message(days)), .caption = QStringLiteral("Day Full"), .icon = MessageIcon::exclamation};
}

SimpleDlg::SimpleDlg(QWidget* parent, const DialogServices& services, DayNumber today, RetentionLimit limit,
                     RoomCheck room)
    : TemplateDialog(new_entry_template(), parent),
      m_services(services),
      m_today(today),
      m_limit(limit),
      m_room(std::move(room)) {
    route(id_ok, [this] { accept_first(); });
    route(ids::confirm, [this] { accept_confirm(); });
    route_help(ids::help, [this] { show_help(m_services, this, HelpTopic::new_entries); });
    set_up();
}

void SimpleDlg::set_up() {
    radio_button(ids::single)->setChecked(true);
    static_text(ids::max_seven)->hide();
    button(ids::confirm)->hide();
    // OK and Confirm share a place; Enter presses whichever of them shows.
    button(id_ok)->setDefault(true);
    edit(ids::date)->setFocus();
}


bool SimpleDlg::marked(int id) const { return qobject_cast<QAbstractButton*>(control(id))->isChecked(); }

void SimpleDlg::tell(std::string_view text, std::string_view caption, MessageIcon icon) {
    m_services.messages.show(this, {.text = qt_text(text),
                                    .caption = qt_text(caption),
                                    .icon = icon});
}

// Every press reads the fields again, as they stand at that moment.
bool SimpleDlg::read_fields() {
    const std::optional<std::string> text = field_text(*this, ids::event, m_services.messages);
    if (!text) return false;
    const std::optional<std::string> date = field_text(*this, ids::date, m_services.messages);
    if (!date) return false;
    const std::optional<std::string> weeks = field_text(*this, ids::weeks, m_services.messages);
    const std::optional<std::string> days = weeks ? field_text(*this, ids::days, m_services.messages) : std::nullopt;
    if (!days) return false;
    m_request.text = *text;
    m_request.red = marked(ids::red_letter);
    m_request.yearly = false;
    m_typed_date = *date;
    m_typed_weeks = text_to_int(*weeks);
    m_typed_days = text_to_int(*days);
    return true;
}

void SimpleDlg::accept_first() {
    m_request = NewEntryRequest{};
    if (!read_fields()) return;
    switch (classify_date_text(m_typed_date)) {
    case DateForm::day_name:
        if (!take_day_name()) return;
        break;
    case DateForm::days_ahead:
        if (!take_days_ahead()) return;
        break;
    case DateForm::plain:
        if (!check_plain_date()) return;
        break;
    }
    if (!check_day_count() || !check_within_diary() || !check_memo()) return;
    if (m_request.form == DateForm::plain && check_room()) accept();
}

bool SimpleDlg::take_day_name() {
    std::optional<std::vector<DayNumber>> days = day_name_step(m_services, this, m_typed_date);
    if (!days) {
        refuse_short_form();
        return false;
    }
    m_request.days = std::move(*days);
    m_request.form = DateForm::day_name;
    enter_confirm_state();
    return true;
}

bool SimpleDlg::take_days_ahead() {
    const std::optional<DayNumber> day = days_ahead_step(m_services, this, text_to_int(m_typed_date));
    if (!day) {
        refuse_short_form();
        return false;
    }
    m_request.days = {*day};
    m_request.form = DateForm::days_ahead;
    edit(ids::weeks)->clear();
    enter_confirm_state();
    return true;
}

void SimpleDlg::refuse_short_form() {
    edit(ids::date)->clear();
    edit(ids::date)->setFocus();
}

// The typed date checked as the date of a new entry; a refusal is told to the user.
std::optional<DateCheck> SimpleDlg::checked_date() {
    const DateCheck check = check_date(PastDates::refused, m_typed_date, m_today, m_limit);
    if (check.error == DateError::none) return check;
    tell(date_message(check.error), "Date Format Error");
    return std::nullopt;
}

bool SimpleDlg::check_plain_date() {
    const std::optional<DateCheck> check = checked_date();
    if (!check) return false;
    m_request.days = {check->day_number};
    m_request.yearly = marked(ids::yearly);
    if (m_request.yearly && !may_repeat_yearly(check->day, check->month)) {
        tell(yearly_leap_day_message, "Leap Year Error", MessageIcon::exclamation);
        return false;
    }
    if (marked(ids::weekly)) {
        m_request.week_count = m_typed_weeks;
        if (m_request.week_count < 1) {
            tell("You have asked for weekly repeats but have not said how many!", "Missing Data");
            return false;
        }
    }
    return true;
}

// A plain date may repeat daily up to 99 days; the short forms, which show the note, up to 7.
bool SimpleDlg::check_day_count() {
    if (!marked(ids::daily)) return true;
    m_request.day_count = m_typed_days;
    if (m_request.day_count > 7 && m_request.form != DateForm::plain) {
        tell("You are only allowe a maximum of 7 daily repeats with Day Name, or Days ahead,entries!",
             "Too Many Repeats", MessageIcon::exclamation);
        return false;
    }
    if (m_request.day_count < 1) {
        tell("You have asked for daily repeats but have not said how many!", "Missing Data");
        return false;
    }
    return true;
}

bool SimpleDlg::check_within_diary() {
    if (within_diary(m_request)) return true;
    tell("The repeats would run past 31/12/50, the last date the diary holds!", "Too Many Repeats",
         MessageIcon::exclamation);
    return false;
}

bool SimpleDlg::check_memo() {
    if (!is_blank(m_request.text)) return true;
    tell("No Entry has been made for this Date!", "Entry Missing", MessageIcon::exclamation);
    edit(ids::event)->setFocus();
    return false;
}

// Checked last, since it reads the store: a request the diary cannot hold in full keeps the
// dialog open, so that nothing typed is lost and the user can choose other days.
bool SimpleDlg::check_room() {
    if (is_blank(m_request.text)) return true;  // nothing will be written
    const std::vector<DayNumber> full = m_room(m_request);
    if (full.empty()) return true;
    m_services.messages.show(this, day_full_box(full));
    return false;
}

void SimpleDlg::enter_confirm_state() {
    m_confirm_state = true;
    button(id_ok)->hide();
    button(ids::confirm)->show();
    button(ids::confirm)->setDefault(true);
    for (int id : {ids::weekly, ids::single, ids::weeks, ids::yearly, ids::weeks_label}) control(id)->hide();
    static_text(ids::max_seven)->show();
    edit(ids::date)->setText(qt_text(day_to_date(m_request.days.front())));
}

// Confirm takes the fields as they now stand; the date, which the user may have changed, must
// still be a date the diary accepts. It replaces the first date; the others chosen in the list
// stay as they were chosen.
void SimpleDlg::accept_confirm() {
    if (!read_fields()) return;
    if (marked(ids::daily)) m_request.day_count = m_typed_days;
    if (!check_confirmed_date() || !check_within_diary() || !check_room()) return;
    accept();
}

bool SimpleDlg::check_confirmed_date() {
    const std::optional<DateCheck> check = checked_date();
    if (!check) {
        edit(ids::date)->setFocus();
        return false;
    }
    m_request.days.front() = check->day_number;
    return true;
}

}  // namespace daybrook
