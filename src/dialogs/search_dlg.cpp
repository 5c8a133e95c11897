#include "dialogs/search_dlg.h"

#include <QCheckBox>
#include <QLineEdit>

#include <optional>

#include "calendar/text_helpers.h"
#include "dialogs/field_text.h"
#include "dialogs/help_dlg.h"
#include "resources/dialog_templates.h"

namespace daybrook {

namespace ids = search_ids;

SearchDlg::SearchDlg(QWidget* parent, const DialogServices& services)
    : TemplateDialog(search_template(), parent), m_services(services) {
    route(id_ok, [this] { take(); });
    route_help(ids::help, [this] { show_help(m_services, this, HelpTopic::search); });
    set_up();
}

void SearchDlg::set_up() {
    check_box(ids::case_sensitive)->setChecked(false);
    check_box(ids::show_all)->setChecked(false);
    edit(ids::word)->clear();
    edit(ids::word)->setFocus();
}

void SearchDlg::take() {
    const bool case_sensitive = check_box(ids::case_sensitive)->isChecked();
    const bool show_all = check_box(ids::show_all)->isChecked();
    const std::optional<std::string> word = field_text(*this, ids::word, m_services.messages);
    if (!word) return;
    if (word->empty() && !show_all) {
        m_services.messages.show(this, {.text = QStringLiteral("You have not entered a word to search for!"),
                                        .caption = QStringLiteral("Missing Word"),
                                        .icon = MessageIcon::stop});
        return;
    }
    m_request = {case_sensitive ? *word : ascii_lower(*word), case_sensitive, show_all};
    accept();
}

}  // namespace daybrook
