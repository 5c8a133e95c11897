#include "dialogs/date_steps.h"

#include "calendar/date_choices.h"
#include "calendar/day_names.h"
#include "dialogs/ahead_date_dlg.h"
#include "dialogs/date_choice_dlg.h"
#include "framework/qt_text.h"

namespace daybrook {

namespace {

// Tells the user why a short form of date gives no date.
void refuse(const DialogServices& services, QWidget* owner, ShortFormError error, std::string_view caption) {
    services.messages.show(owner, {.text = qt_text(short_form_message(error)), .caption = qt_text(caption)});
}

}  // namespace

std::optional<std::vector<DayNumber>> day_name_step(const DialogServices& services, QWidget* owner,
                                                    std::string_view text) {
    const ShortFormDates dates = day_name_dates(text, today_from(services.clock));
    if (dates.error != ShortFormError::none) {
        refuse(services, owner, dates.error, "Data Error");
        return std::nullopt;
    }
    DateChoiceDlg dialog(owner, services.messages, find_day_name(text), dates.days);
    if (!services.modal.run(dialog)) return std::nullopt;
    return dialog.chosen();
}

std::optional<DayNumber> days_ahead_step(const DialogServices& services, QWidget* owner, int days) {
    const ShortFormDates dates = days_ahead_dates(days, today_from(services.clock));
    if (dates.error != ShortFormError::none) {
        refuse(services, owner, dates.error, "Ahead error");
        return std::nullopt;
    }
    const DayNumber day = dates.days.front();
    AheadDateDlg dialog(owner, day);
    if (!services.modal.run(dialog)) return std::nullopt;
    return day;
}

}  // namespace daybrook
