#include "dialogs/date_choice_dlg.h"

#include <QLabel>
#include <QListWidget>

#include "calendar/date_choices.h"
#include "calendar/day_names.h"
#include "framework/qt_text.h"
#include "resources/dialog_templates.h"

namespace daybrook {

DateChoiceDlg::DateChoiceDlg(QWidget* parent, MessageBoxes& messages, int weekday,
                             const std::vector<DayNumber>& dates)
    : TemplateDialog(date_choice_template(), parent), m_messages(messages), m_offered(dates) {
    route(id_ok, [this] { take(); });
    route(date_choice_ids::dates, [this] { take(); });  // a double-click on a line
    set_up(weekday);
}

void DateChoiceDlg::set_up(int weekday) {
    const std::string_view name = day_names[std::size_t(weekday)];
    static_text(date_choice_ids::prompt)
        ->setText(QStringLiteral("Please choose which %1 from the list by Highlighting and pressing OK or "
                                 "double-click the correct date")
                      .arg(qt_text(name)));
    QListWidget* list = list_box(date_choice_ids::dates);
    for (DayNumber day : m_offered) list->addItem(QString::fromStdString(date_choice_line(day)));
}

void DateChoiceDlg::take() {
    const QListWidget* list = list_box(date_choice_ids::dates);
    std::vector<DayNumber> chosen;
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->isSelected()) chosen.push_back(m_offered[std::size_t(row)]);
    if (chosen.empty()) {
        m_messages.show(this, {.text = QStringLiteral("You have not selected a date!  Use 'Cancel' if you do not wish to!"),
                               .caption = QStringLiteral("Missing data")});
        return;
    }
    m_chosen = std::move(chosen);
    accept();
}

}  // namespace daybrook
