// The main window's menu bar and buttons, as data. Ids are the command ids the window routes.
#pragma once

#include <span>

#include "framework/frame_templates.h"

namespace daybrook {

// Commands of the menu bar.
enum CommandId : int {
    cm_new_entry = 101,
    cm_this_week = 102,
    cm_search = 103,
    cm_delete = 104,
    cm_future_week = 105,
    cm_general_help = 106,
    cm_about = 107,
    cm_alarm_sounds = 108,
    cm_past_week = 109,
    cm_old_entries = 110,
};

// The buttons of the main window.
enum ButtonId : int {
    id_next_week = 50,
    id_last_week = 51,
    id_exit = 52,
    id_this_week = 53,
    id_new_entry = 54,
    id_search = 55,
    id_delete_entry = 56,
};

// The menu bar of the normal window, popups and items in order.
const MenuBarTemplate& main_menu();

// The buttons in the order they are created, which is also their Tab order.
std::span<const ButtonTemplate> main_buttons();

}  // namespace daybrook
