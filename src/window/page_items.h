// A composed page: the texts the diary view draws, each with its place, colour and font, and
// what the painting changes besides (the alarm level, two buttons). Composing reads the store;
// drawing only draws, so tests look at the items and the screen shows exactly them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/alarm_level.h"

namespace daybrook {

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

namespace colours {
inline constexpr Rgb background{192, 192, 192};
inline constexpr Rgb text{0, 0, 0};        // the surface's default text colour
inline constexpr Rgb date{0, 0, 255};      // dates of today and later, and the yearly mark
inline constexpr Rgb ghost{255, 255, 255}; // everything of a day before today
inline constexpr Rgb entry{255, 255, 0};
inline constexpr Rgb red_letter{255, 0, 0};  // also the year label
}  // namespace colours

// The clock line is drawn in the surface's default font, everything else in the page font.
enum class FontRole { standard, page };

struct PageItem {
    std::string text;  // Windows-1252 bytes, as in the entry records
    int x = 0;         // top-left corner, in page pixels
    int y = 0;
    Rgb colour;
    FontRole font = FontRole::page;
    friend bool operator==(const PageItem&, const PageItem&) = default;
};

// One line of the page as a screen reader says it: the texts drawn on it, with what colours and
// marks show put in words ("red letter", "yearly"). A day of the week page is one line, its
// entries included.
struct SpokenLine {
    std::string text;  // Windows-1252 bytes, as in the entry records
    int y = 0;         // the top of the line's first drawn text, in page pixels
    friend bool operator==(const SpokenLine&, const SpokenLine&) = default;
};

enum class ButtonChange { unchanged, show, hide };

// The week page's columns, in pixels: the day name's, a month name's for each letter, and the
// day of the month's, after which the entry stands. The page font must fit them.
inline constexpr int day_name_column = 54;
inline constexpr int month_letter_width = 15;
inline constexpr int day_number_column = 40;

// What the view needs to know of the window to lay a page out.
struct PageGeometry {
    int client_width = 0;
    int client_height = 0;
    int font_height = 0;  // the character height of the page font, in pixels
    int xxx_width = 0;    // the width of "XXX" in the page font
};

struct ComposedPage {
    std::vector<PageItem> items;
    std::vector<SpokenLine> spoken;  // in reading order: the heading, the lines, the clock
    AlarmLevel alarm_level = AlarmLevel::none;  // the level after this painting
    ButtonChange next_week = ButtonChange::unchanged;
    ButtonChange last_week = ButtonChange::unchanged;
};

// The character height of the page font: the client height divided by 25.
constexpr int page_font_height(int client_height) noexcept { return client_height / 25; }

// A client area this small shows the clock line and nothing else.
constexpr bool too_small_for_page(int client_width, int client_height) noexcept {
    return client_height <= 180 && client_width <= 540;
}

}  // namespace daybrook
