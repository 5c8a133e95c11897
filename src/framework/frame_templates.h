// The menu bar and the buttons of a frame window, as data: what a window's resources describe
// and the framework builds.
#pragma once

#include <span>
#include <string_view>

namespace daybrook {

// A menu item; an id of 0 makes a separator. "&" marks the access key.
struct MenuItemTemplate {
    std::string_view text;
    int id = 0;
};

struct MenuPopupTemplate {
    std::string_view title;
    std::span<const MenuItemTemplate> items;
};

// Where a button stands on the page, in pixels, and whether auto mode has it too.
struct ButtonTemplate {
    int id;
    std::string_view caption;
    int x, y, width, height;
    bool in_auto_mode;
};

}  // namespace daybrook
