// Builds a Qt menu bar from a menu template and routes its items by command id. Whether an
// item is enabled or checked, and what its tooltip says, is asked each time its popup is about
// to open, and only then: the menu always shows the state of the moment, and building it asks
// nothing.
#pragma once

#include <QString>

#include <functional>
#include <optional>

#include "framework/frame_templates.h"

class QMenuBar;
class QWidget;

namespace daybrook {

struct CommandState {
    bool enabled = true;
    std::optional<bool> checked;  // nothing for an item that carries no check mark
    QString tooltip;              // why the item is as it is; empty for none
};

using CommandHandler = std::function<void(int id)>;
using CommandEnabler = std::function<CommandState(int id)>;

QMenuBar* build_menu_bar(const MenuBarTemplate& layout, QWidget* parent, const CommandHandler& on_command,
                         const CommandEnabler& enabler);

}  // namespace daybrook
