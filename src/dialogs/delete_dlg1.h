// DeleteDlg1 ("Find Entry for Deletion"): asks for a key word or a date whose entries are to be
// listed for deletion. A double quote, a space and a double quote, searched for as a key word
// with letter case matched, asks for the clean-up of blank entries instead.
#pragma once

#include <string>

#include "calendar/date_check.h"
#include "calendar/day_number.h"
#include "framework/dialog_services.h"
#include "framework/template_dialog.h"

namespace daybrook {

struct DeletionQuery {
    enum class Kind { key_word, date, clean_up };
    Kind kind = Kind::key_word;
    std::string text;  // record bytes as typed; a key word is folded unless case is matched
    bool case_sensitive = false;
    DayNumber day = 0;  // the date's day number, for a date
};

class DeleteDlg1 : public TemplateDialog {
    Q_OBJECT
public:
    // A date is checked against today and the retention limit; past dates that are held pass.
    DeleteDlg1(QWidget* parent, const DialogServices& services, DayNumber today, RetentionLimit limit);

    // What to list, once the dialog has ended accepted.
    const DeletionQuery& query() const { return m_query; }

private:
    void set_up();
    void find();
    bool take_date();
    void tell(const QString& text, const QString& caption, MessageIcon icon = MessageIcon::none);

    DialogServices m_services;
    DayNumber m_today;
    RetentionLimit m_limit;
    DeletionQuery m_query;
};

}  // namespace daybrook
