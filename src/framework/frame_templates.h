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

// The popups in order, and room before the first title as wide as that many spaces of the
// menu bar's font: room rather than spaces in the title, which a screen reader would read out.
struct MenuBarTemplate {
    std::span<const MenuPopupTemplate> popups;
    int lead_spaces = 0;
};

// Where a button stands on the page, in pixels, and whether auto mode has it too.
struct ButtonTemplate {
    int id;
    std::string_view caption;
    int x, y, width, height;
    bool in_auto_mode;
};

}  // namespace daybrook
