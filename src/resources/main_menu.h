// The main window's menu bar and buttons, as data. Ids are the command ids the window routes.
#pragma once

#include <array>
#include <span>
#include <string_view>

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

// A menu item; an id of 0 makes a separator. "&" marks the access key.
struct MenuItemTemplate {
    std::string_view text;
    int id = 0;
};

struct MenuPopupTemplate {
    std::string_view title;
    std::span<const MenuItemTemplate> items;
};

// The menu bar of the normal window, popups and items in order.
std::span<const MenuPopupTemplate> main_menu();

// Where a button stands on the page, in pixels, and whether auto mode has it too.
struct ButtonTemplate {
    int id;
    std::string_view caption;
    int x, y, width, height;
    bool in_auto_mode;
};

// The buttons in the order they are created, which is also their Tab order.
std::span<const ButtonTemplate> main_buttons();

}  // namespace daybrook
