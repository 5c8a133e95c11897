#include "window/delete_command.h"

#include <QStringList>

#include "dialogs/delete_dlg1.h"
#include "dialogs/delete_dlg2.h"
#include "framework/code_page.h"
#include "framework/trash.h"
#include "store/deletion_list.h"
#include "store/retention.h"
#include "store/scratch_files.h"

namespace daybrook {
namespace {

// Names the entries that are still there, one line each, after the deletion that missed them.
void report_left(QWidget* owner, MessageBoxes& messages, const QStringList& entries) {
    if (entries.isEmpty()) return;
    messages.show(owner, {.text = QStringLiteral("These entries could not be deleted:\n") + entries.join('\n'),
                          .caption = QStringLiteral("Deletion Error"),
                          .icon = MessageIcon::exclamation});
}

void clean_up(QWidget* owner, MessageBoxes& messages, const StoreDir& store) {
    const CleanUpReport report = clean_blanks(store, move_to_trash);
    messages.show(owner, {.text = QStringLiteral("All Blank Entries have been deleted"),
                          .caption = QStringLiteral("Clean Up")});
    QStringList left;
    for (const std::string& name : report.left) left << QString::fromStdString(name);
    report_left(owner, messages, left);
}

std::vector<ListedEntry> entries_for(const DeletionQuery& query, const StoreDir& store) {
    if (query.kind == DeletionQuery::Kind::date) return entries_of_day(store, query.day);
    return entries_with_word(store, query.text, query.case_sensitive);
}

// Lists the entries found, and deletes those the user chooses. The scratch list files of the
// list go whichever way the list is left; one that will not go is told.
void choose_and_delete(QWidget* owner, const DialogServices& services, const DeletionQuery& query,
                       const StoreDir& store) {
    const std::vector<ListedEntry> entries = entries_for(query, store);
    const ListKind kind = query.kind == DeletionQuery::Kind::date ? ListKind::date : ListKind::key_word;
    const std::vector<std::string> lines = deletion_lines(entries, kind);
    write_scratch_list(store, entries);
    DeleteDlg2 dialog(owner, services, lines);
    if (!services.modal.run(dialog)) return;
    const DeletionReport report = delete_listed(store, entries, dialog.chosen(), move_to_trash);
    for ([[maybe_unused]] const std::string& stuck : remove_scratch_list(store, int(entries.size())))
        services.messages.show(owner, {.text = QStringLiteral("Wont go"), .caption = QStringLiteral("ERROR")});
    QStringList left;
    for (std::size_t line : report.left) left << from_code_page(lines[line]);
    report_left(owner, services.messages, left);
}

}  // namespace

void run_delete(QWidget* owner, DiaryState& state, const DialogServices& services, const StoreDir& store) {
    DeleteDlg1 dialog(owner, services, state.today, retention_limit(state.retention));
    const bool accepted = services.modal.run(dialog);
    state.view.page_mode = PageMode::week;
    if (!accepted) return;
    const DeletionQuery& query = dialog.query();
    state.view.search_word = query.text;
    state.view.case_sensitive = query.case_sensitive;
    if (query.kind == DeletionQuery::Kind::clean_up) clean_up(owner, services.messages, store);
    else choose_and_delete(owner, services, query, store);
}

}  // namespace daybrook
