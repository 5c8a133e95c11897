#include "dialogs/keep_time_dlg.h"

#include <QButtonGroup>
#include <QRadioButton>

#include "dialogs/help_dlg.h"
#include "dialogs/warn_del_dlg.h"
#include "resources/dialog_templates.h"

namespace daybrook {
namespace {

namespace ids = keep_time_ids;

int choice_id(KeepCode code) { return ids::first_choice + static_cast<int>(code); }

}  // namespace

KeepTimeDlg::KeepTimeDlg(QWidget* parent, const DialogServices& services, KeepCode current)
    : TemplateDialog(keep_time_template(), parent), m_services(services), m_current(current), m_chosen(current) {
    route(id_ok, [this] { take(); });
    route_help(ids::help, [this] { show_help(m_services, this, HelpTopic::retaining); });
    set_up();
}

// The keyboard starts at the present choice, so the arrow keys move from there.
void KeepTimeDlg::set_up() {
    show_choice(m_current);
    focus_present_choice();
}

void KeepTimeDlg::focus_present_choice() {
    radio_button(is_known(m_current) ? choice_id(m_current) : ids::first_choice)->setFocus();
}

// Marks the code's choice, or none for a code no choice stands for.
void KeepTimeDlg::show_choice(KeepCode code) {
    QButtonGroup* group = radio_button(ids::first_choice)->group();
    group->setExclusive(false);  // an exclusive group cannot be left with nothing marked
    for (int id = ids::first_choice; id <= ids::last_choice; ++id) radio_button(id)->setChecked(false);
    group->setExclusive(true);
    if (is_known(code)) radio_button(choice_id(code))->setChecked(true);
}

std::optional<KeepCode> KeepTimeDlg::marked_choice() const {
    for (int id = ids::first_choice; id <= ids::last_choice; ++id)
        if (radio_button(id)->isChecked()) return KeepCode{id - ids::first_choice};
    return std::nullopt;
}

// A shorter time than the present one asks first; declined, the present choice is shown again
// and the dialog stays. Times are compared by the days they keep, so that a code from an edited
// file, which keeps everything, counts as the longest.
void KeepTimeDlg::take() {
    const std::optional<KeepCode> choice = marked_choice();
    if (choice && keep_days(*choice) < keep_days(m_current)) {
        WarnDelDlg warning(this);
        if (!m_services.modal.run(warning)) {
            show_choice(m_current);
            focus_present_choice();
            return;
        }
    }
    m_chosen = choice.value_or(m_current);
    accept();
}

}  // namespace daybrook
