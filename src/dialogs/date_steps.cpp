#include "dialogs/date_steps.h"

#include <cstdint>

#include "calendar/date_choices.h"
#include "calendar/day_names.h"
#include "dialogs/ahead_date_dlg.h"
#include "dialogs/date_choice_dlg.h"

namespace daybrook {

std::optional<std::vector<std::string>> day_name_step(const DialogServices& services, QWidget* owner,
                                                      std::string_view text) {
    const int weekday = find_day_name(text);
    if (weekday < 0) {
        services.messages.show(owner, {.text = QStringLiteral("Unable to recognise the Day Name"),
                                       .caption = QStringLiteral("Data Error")});
        return std::nullopt;
    }
    const std::vector<DayNumber> dates = weekday_dates(today_from(services.clock), weekday);
    if (dates.empty()) {
        services.messages.show(owner, {.text = QStringLiteral("No such day is left before 31/12/50, the last date "
                                                              "the diary holds!"),
                                       .caption = QStringLiteral("Data Error")});
        return std::nullopt;
    }
    DateChoiceDlg dialog(owner, services.messages, weekday, dates);
    if (!services.modal.run(dialog)) return std::nullopt;
    return dialog.chosen();
}

std::optional<std::string> days_ahead_step(const DialogServices& services, QWidget* owner, int days) {
    if (days < 1) {
        services.messages.show(owner, {.text = QStringLiteral("Must be at least 1 day ahead!"),
                                       .caption = QStringLiteral("Ahead error")});
        return std::nullopt;
    }
    const std::int64_t day = std::int64_t(today_from(services.clock)) + days;
    if (day > last_diary_day) {
        services.messages.show(owner, {.text = QStringLiteral("That is after 31/12/50, the last date the diary "
                                                              "holds!"),
                                       .caption = QStringLiteral("Ahead error")});
        return std::nullopt;
    }
    const std::string date = day_to_date(DayNumber(day));
    AheadDateDlg dialog(owner, date);
    if (!services.modal.run(dialog)) return std::nullopt;
    return date;
}

}  // namespace daybrook
