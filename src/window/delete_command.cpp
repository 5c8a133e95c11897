#include "window/delete_command.h"

#include <QStringList>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "dialogs/delete_dlg1.h"
#include "dialogs/delete_dlg2.h"
#include "framework/code_page.h"
#include "framework/trash.h"
#include "store/deletion_list.h"
#include "store/retention.h"
#include "store/scratch_files.h"

namespace daybrook {
namespace {

// Whether a file could leave its folder at all. One in a folder that cannot be changed stays
// whichever way it goes, and is named as not deleted rather than offered for deleting for good.
bool may_leave_folder(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().native();
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

// Moves entry files to the trash, and keeps the paths of those that no trash could take, and why
// the first was refused: they stay in the folder until the user says they may go for good.
class TrashAttempt {
public:
    EntryDisposal disposal() {
        return [this](const std::string& path) {
            const TrashResult result = move_to_trash(path);
            if (result.taken()) return true;
            if (may_leave_folder(path)) m_refused.insert(path);
            if (m_reason.isEmpty()) m_reason = QString::fromStdString(result.refusal);
            return false;
        };
    }
    bool refused(const StoreDir& store, const std::string& name) const {
        return m_refused.contains((store / name).native());
    }
    const QString& reason() const { return m_reason; }

private:
    std::set<std::string> m_refused;
    QString m_reason;
};

// Asks once, as file managers do, whether entries the trash cannot take may be deleted for good.
bool may_delete_for_good(QWidget* owner, MessageBoxes& messages, const TrashAttempt& trash, const QStringList& entries) {
    return messages.ask(owner, {.text = QStringLiteral("The trash cannot take these entries (") + trash.reason() +
                                        QStringLiteral("):\n") + entries.join('\n') +
                                        QStringLiteral("\n\nDelete them for good?"),
                                .caption = QStringLiteral("Delete for Good"),
                                .icon = MessageIcon::exclamation});
}

// Names the entries that are still there, one line each, after the deletion that missed them.
void report_left(QWidget* owner, MessageBoxes& messages, const QStringList& entries) {
    if (entries.isEmpty()) return;
    messages.show(owner, {.text = QStringLiteral("These entries could not be deleted:\n") + entries.join('\n'),
                          .caption = QStringLiteral("Deletion Error"),
                          .icon = MessageIcon::exclamation});
}

// The blank entries the clean-up did not delete: those the file system kept, and whether the
// user chose to keep those that no trash could take.
struct BlanksLeft {
    std::vector<std::string> kept_by_system;
    bool kept_by_user = false;
};

// Blank entries the trash cannot take go for good only when the user agrees.
BlanksLeft clean_up_refused(QWidget* owner, MessageBoxes& messages, const StoreDir& store, const TrashAttempt& trash,
                            const std::vector<std::string>& missed) {
    std::vector<std::string> refused;
    BlanksLeft left;
    for (const std::string& name : missed) (trash.refused(store, name) ? refused : left.kept_by_system).push_back(name);
    if (refused.empty()) return left;
    QStringList names;
    for (const std::string& name : refused) names << QString::fromStdString(name);
    left.kept_by_user = !may_delete_for_good(owner, messages, trash, names);
    if (!left.kept_by_user)
        for (std::string& name : clean_blanks_among(store, refused).left) left.kept_by_system.push_back(std::move(name));
    return left;
}

// Says that all blank entries went only when none is left, and names those the system kept.
void clean_up(QWidget* owner, MessageBoxes& messages, const StoreDir& store) {
    TrashAttempt trash;
    const CleanUpReport report = clean_blanks(store, trash.disposal());
    const BlanksLeft left = clean_up_refused(owner, messages, store, trash, report.left);
    if (left.kept_by_system.empty() && !left.kept_by_user)
        messages.show(owner, {.text = QStringLiteral("All Blank Entries have been deleted"),
                              .caption = QStringLiteral("Clean Up")});
    QStringList names;
    for (const std::string& name : left.kept_by_system) names << QString::fromStdString(name);
    report_left(owner, messages, names);
}

std::vector<ListedEntry> entries_for(const DeletionQuery& query, const StoreDir& store) {
    if (query.kind == DeletionQuery::Kind::date) return entries_of_day(store, query.day);
    return entries_with_word(store, query.text, query.case_sensitive);
}

// Deletes the chosen lines' entries, to the trash or, where no trash can take them and the user
// agrees, for good. Returns the lines whose entries are still there for another reason than the
// user's No.
std::vector<std::size_t> delete_chosen(QWidget* owner, MessageBoxes& messages, const StoreDir& store,
                                       const std::vector<ListedEntry>& entries, const std::vector<std::string>& lines,
                                       const std::vector<std::size_t>& chosen) {
    TrashAttempt trash;
    std::vector<std::size_t> refused, left;
    for (std::size_t line : delete_listed(store, entries, chosen, trash.disposal()).left)
        (trash.refused(store, entries[line].name) ? refused : left).push_back(line);
    QStringList shown;
    for (std::size_t line : refused) shown << from_code_page(lines[line]);
    if (!refused.empty() && may_delete_for_good(owner, messages, trash, shown))
        for (std::size_t line : delete_listed(store, entries, refused).left) left.push_back(line);
    return left;
}

// Lists the entries found, and deletes those the user chooses. The scratch list files of the
// list go whichever way the list is left; one that will not go is told.
void choose_and_delete(QWidget* owner, const DialogServices& services, const DeletionQuery& query,
                       const StoreDir& store) {
    const std::vector<ListedEntry> entries = entries_for(query, store);
    const ListKind kind = query.kind == DeletionQuery::Kind::date ? ListKind::date : ListKind::key_word;
    const std::vector<std::string> lines = deletion_lines(entries, kind);
    // The lines are deleted from the records held here; the scratch files only copy them for
    // other tools, so a list that could not be copied still works.
    [[maybe_unused]] const bool copied = write_scratch_list(store, entries);
    DeleteDlg2 dialog(owner, services, lines);
    if (!services.modal.run(dialog)) return;
    const std::vector<std::size_t> left = delete_chosen(owner, services.messages, store, entries, lines, dialog.chosen());
    for (const std::string& stuck : remove_scratch_list(store, int(entries.size())))
        services.messages.show(owner, {.text = QStringLiteral("Wont go: ") + QString::fromStdString((store / stuck).native()),
                                       .caption = QStringLiteral("ERROR")});
    QStringList names;
    for (std::size_t line : left) names << from_code_page(lines[line]);
    report_left(owner, services.messages, names);
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
