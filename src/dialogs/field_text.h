// Reading what a user typed into a dialog's edit field as record bytes.
#pragma once

#include <optional>
#include <string>

#include "framework/message_boxes.h"
#include "framework/template_dialog.h"

namespace daybrook {

// The field's text as record bytes. The fields take only what a record can hold as it is typed;
// a text put there some other way (that the record cannot hold) is refused with a message over
// the dialog, rather than stored changed, and gives nothing.
std::optional<std::string> field_text(TemplateDialog& dialog, int id, MessageBoxes& messages);

}  // namespace daybrook
