#include "dialogs/field_text.h"

#include <QLineEdit>

#include "framework/code_page.h"

namespace daybrook {

std::optional<std::string> field_text(TemplateDialog& dialog, int id, MessageBoxes& messages) {
    std::optional<std::string> bytes = to_code_page(dialog.edit(id)->text());
    if (!bytes)
        messages.show(&dialog, {.text = QStringLiteral("The entry holds a character that the diary cannot store."),
                                .caption = QStringLiteral("Entry Error"),
                                .icon = MessageIcon::exclamation});
    return bytes;
}

}  // namespace daybrook
