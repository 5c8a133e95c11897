#include "dialogs/search_dlg.h"

#include <QCheckBox>
#include <QLineEdit>

#include <optional>

#include "calendar/text_helpers.h"
#include "framework/code_page.h"
#include "resources/dialog_templates.h"

namespace daybrook {

namespace ids = search_ids;

SearchDlg::SearchDlg(QWidget* parent, const DialogServices& services)
    : TemplateDialog(search_template(), parent), m_services(services) {
    route(id_ok, [this] { take(); });
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
    // The field takes only what a record can hold as it is typed; text set some other way is
    // checked here.
    const std::optional<std::string> word = to_code_page(edit(ids::word)->text());
    if (!word) {
        m_services.messages.show(this, {.text = QStringLiteral("The word holds a character that the diary cannot store."),
                                        .caption = QStringLiteral("Entry Error"),
                                        .icon = MessageIcon::exclamation});
        return;
    }
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
