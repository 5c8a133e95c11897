#include "dialogs/delete_dlg2.h"

#include <QListWidget>

#include <algorithm>

#include "dialogs/help_dlg.h"
#include "framework/code_page.h"
#include "resources/dialog_templates.h"

namespace daybrook {
namespace {

namespace ids = deletion_choice_ids;
constexpr std::size_t most_at_once = 50;

}  // namespace

DeleteDlg2::DeleteDlg2(QWidget* parent, const DialogServices& services, const std::vector<std::string>& lines)
    : TemplateDialog(deletion_choice_template(), parent), m_services(services) {
    route(id_ok, [this] { take(); });
    route(ids::lines, [this] { take(); });  // a double-click on a line
    route_help(ids::help, [this] { show_help(m_services, this, HelpTopic::deletion_choice); });
    set_up(lines);
}

void DeleteDlg2::set_up(const std::vector<std::string>& lines) {
    QListWidget* list = list_box(ids::lines);
    QStringList texts;
    texts.reserve(qsizetype(lines.size()));
    for (const std::string& line : lines) texts << from_code_page(line);
    list->addItems(texts);
    // The keyboard starts on the first line without choosing it, so Space chooses it and Enter
    // takes it.
    list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    list->setFocus();
}

// With no line chosen, Enter takes the line the keyboard is on, which the list marks while it
// has the keyboard; a click on Delete takes only chosen lines.
QModelIndexList DeleteDlg2::chosen_rows() const {
    const QListWidget* list = list_box(ids::lines);
    QModelIndexList rows = list->selectionModel()->selectedRows();
    if (rows.empty() && list->hasFocus() && list->currentIndex().isValid()) rows.push_back(list->currentIndex());
    return rows;
}

void DeleteDlg2::take() {
    const QModelIndexList selected = chosen_rows();
    if (selected.size() > qsizetype(most_at_once)) {
        m_services.messages.show(this, {.text = QStringLiteral("You can not delete more than 50 entries at once"),
                                        .caption = QStringLiteral("Too many selections"),
                                        .icon = MessageIcon::exclamation});
        return;
    }
    if (selected.empty()) {
        m_services.messages.show(this, {.text = QStringLiteral("No Entry has been Selected"),
                                        .caption = QStringLiteral("Selection Error")});
        return;
    }
    m_chosen.clear();
    for (const QModelIndex& index : selected) m_chosen.push_back(std::size_t(index.row()));
    std::sort(m_chosen.begin(), m_chosen.end());
    accept();
}

}  // namespace daybrook
