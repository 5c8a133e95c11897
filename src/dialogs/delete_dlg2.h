// DeleteDlg2 ("Deletion Choice"): shows the lines of a deletion list and lets the user choose up
// to fifty of them, with Shift and Ctrl extending the choice, then Delete or a double-click.
// By keyboard, Space chooses the line the keyboard is on, and Enter with none chosen takes it.
#pragma once

#include <QModelIndexList>

#include <cstddef>
#include <string>
#include <vector>

#include "framework/dialog_services.h"
#include "framework/template_dialog.h"

namespace daybrook {

class DeleteDlg2 : public TemplateDialog {
    Q_OBJECT
public:
    // The lines are record bytes, shown in the order given.
    DeleteDlg2(QWidget* parent, const DialogServices& services, const std::vector<std::string>& lines);

    // The chosen lines, in ascending order, once the dialog has ended accepted.
    const std::vector<std::size_t>& chosen() const { return m_chosen; }

private:
    void set_up(const std::vector<std::string>& lines);
    QModelIndexList chosen_rows() const;
    void take();

    DialogServices m_services;
    std::vector<std::size_t> m_chosen;
};

}  // namespace daybrook
