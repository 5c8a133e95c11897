#include "dialogs/delete_dlg1.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include <optional>

#include "calendar/text_helpers.h"
#include "dialogs/field_text.h"
#include "dialogs/help_dlg.h"
#include "framework/qt_text.h"
#include "resources/dialog_templates.h"
#include "store/entry_record.h"

namespace daybrook {
namespace {

namespace ids = find_deletion_ids;

// Double quote, space, double quote: the text that asks for the clean-up of blank entries.
constexpr std::string_view clean_up_text = "\" \"";

bool acceptable(const std::string& text) { return !is_blank(text) || text == clean_up_text; }

}  // namespace

DeleteDlg1::DeleteDlg1(QWidget* parent, const DialogServices& services, DayNumber today, RetentionLimit limit)
    : TemplateDialog(find_deletion_template(), parent), m_services(services), m_today(today), m_limit(limit) {
    route(id_ok, [this] { find(); });
    route_help(ids::help, [this] { show_help(m_services, this, HelpTopic::deletions); });
    set_up();
}

void DeleteDlg1::set_up() {
    radio_button(ids::key_word)->setChecked(true);
    check_box(ids::match_case)->setChecked(false);
    edit(ids::text)->clear();
    edit(ids::text)->setFocus();
}

void DeleteDlg1::tell(const QString& text, const QString& caption, MessageIcon icon) {
    m_services.messages.show(this, {.text = text, .caption = caption, .icon = icon});
}

void DeleteDlg1::find() {
    const std::optional<std::string> text = field_text(*this, ids::text, m_services.messages);
    if (!text) return;
    if (!acceptable(*text)) {
        tell(QStringLiteral("You have not entered a search-string"), QStringLiteral("Input Error"));
        return;
    }
    const bool key_word = radio_button(ids::key_word)->isChecked();
    m_query = {.text = *text, .case_sensitive = check_box(ids::match_case)->isChecked()};
    if (key_word) {
        m_query.kind = m_query.case_sensitive && *text == clean_up_text ? DeletionQuery::Kind::clean_up
                                                                          : DeletionQuery::Kind::key_word;
        if (!m_query.case_sensitive) m_query.text = ascii_lower(m_query.text);
    } else if (!take_date()) {
        return;
    }
    accept();
}

// Past dates are allowed as far back as entries are held.
bool DeleteDlg1::take_date() {
    const DateCheck check = check_date(PastDates::allowed, m_query.text, m_today, m_limit);
    if (check.error != DateError::none) {
        tell(qt_text(date_message(check.error)), QStringLiteral("Date Error"));
        return false;
    }
    m_query.kind = DeletionQuery::Kind::date;
    m_query.day = check.day_number;
    return true;
}

}  // namespace daybrook
