#include "dialogs/start_later_dlg.h"

#include <QLineEdit>

#include <optional>
#include <string>

#include "dialogs/field_text.h"
#include "dialogs/help_dlg.h"
#include "framework/qt_text.h"
#include "resources/dialog_templates.h"

namespace daybrook {

namespace ids = start_date_ids;

StartLaterDlg::StartLaterDlg(QWidget* parent, const DialogServices& services, DayNumber today, RetentionLimit limit)
    : TemplateDialog(start_date_template(), parent), m_services(services), m_today(today), m_limit(limit) {
    route(id_ok, [this] { take(); });
    route_help(ids::help, [this] { show_help(m_services, this, HelpTopic::looking_ahead); });
    edit(ids::date)->clear();
    edit(ids::date)->setFocus();
}

// Past dates pass as far back as old entries are kept.
void StartLaterDlg::take() {
    const std::optional<std::string> typed = field_text(*this, ids::date, m_services.messages);
    if (!typed) return;
    const DateCheck check = check_date(PastDates::allowed, *typed, m_today, m_limit);
    if (check.error != DateError::none) {
        m_services.messages.show(this, {.text = qt_text(date_message(check.error)),
                                        .caption = QStringLiteral("Date Format Error")});
        return;
    }
    m_start_day = check.day_number;
    accept();
}

}  // namespace daybrook
