#include "dialogs/ahead_date_dlg.h"

#include <QLabel>

#include "framework/qt_text.h"
#include "resources/dialog_templates.h"

namespace daybrook {

AheadDateDlg::AheadDateDlg(QWidget* parent, DayNumber day)
    : TemplateDialog(ahead_date_template(), parent) {
    route(id_ok, [this] { accept(); });
    static_text(ahead_date_ids::date)->setText(qt_text(day_to_date(day)));
}

}  // namespace daybrook
