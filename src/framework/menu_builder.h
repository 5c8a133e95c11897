// Builds a Qt menu bar from a menu template and routes its items by command id. Whether an
// item is enabled or checked is asked each time its popup is about to open, so the menu always
// shows the state of the moment.
#pragma once

#include <functional>
#include <optional>
#include <span>

#include "framework/frame_templates.h"

class QMenuBar;
class QWidget;

namespace daybrook {

struct CommandState {
    bool enabled = true;
    std::optional<bool> checked;  // nothing for an item that carries no check mark
};

using CommandHandler = std::function<void(int id)>;
using CommandEnabler = std::function<CommandState(int id)>;

QMenuBar* build_menu_bar(std::span<const MenuPopupTemplate> popups, QWidget* parent,
                         const CommandHandler& on_command, const CommandEnabler& enabler);

}  // namespace daybrook
