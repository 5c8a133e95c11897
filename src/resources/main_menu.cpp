#include "resources/main_menu.h"

#include <array>

namespace daybrook {
namespace {

constexpr MenuItemTemplate separator{};

constexpr std::array entry_items = {
    MenuItemTemplate{"&New Entry", cm_new_entry}, separator, separator,
    MenuItemTemplate{"&Delete Entry", cm_delete}};
constexpr std::array view_items = {
    MenuItemTemplate{"&This Week", cm_this_week}, MenuItemTemplate{"&Future Week", cm_future_week},
    MenuItemTemplate{"&PastWeek", cm_past_week}, separator,
    MenuItemTemplate{"&Search Diary", cm_search}};
constexpr std::array options_items = {
    MenuItemTemplate{"&Old Entries", cm_old_entries}, separator,
    MenuItemTemplate{"&Alarm Sounds", cm_alarm_sounds}};
constexpr std::array help_items = {
    MenuItemTemplate{"&General Help", cm_general_help}, separator,
    MenuItemTemplate{"&About Daybrook", cm_about}};

constexpr std::array popups = {
    MenuPopupTemplate{"&Entry", entry_items},
    MenuPopupTemplate{"&View", view_items},
    MenuPopupTemplate{"&Options", options_items},
    MenuPopupTemplate{"&Help", help_items},
};

// The Entry popup's title stands apart from the window's edge by six spaces.
constexpr MenuBarTemplate menu_bar{popups, 6};

constexpr std::array buttons = {
    ButtonTemplate{id_next_week, "Next Week", 500, 355, 85, 20, false},
    ButtonTemplate{id_last_week, "Last Week", 500, 325, 85, 20, false},
    ButtonTemplate{id_this_week, "This Week", 500, 385, 85, 20, false},
    ButtonTemplate{id_new_entry, "New Entry", 50, 355, 90, 20, false},
    ButtonTemplate{id_search, "Search", 50, 325, 90, 20, false},
    ButtonTemplate{id_delete_entry, "Delete Entry", 50, 385, 90, 20, false},
    ButtonTemplate{id_exit, "Exit", 275, 385, 85, 20, true},
};

}  // namespace

const MenuBarTemplate& main_menu() { return menu_bar; }

std::span<const ButtonTemplate> main_buttons() { return buttons; }

}  // namespace daybrook
