// Dialog templates as data: each control with its id, kind, text, style and place in dialog
// units. TemplateDialog builds real Qt dialogs from them.
#pragma once

#include <span>
#include <string_view>

namespace daybrook {

// Controls that no code refers to carry this id.
inline constexpr int no_id = -1;
// The default button and the button that cancels a dialog.
inline constexpr int id_ok = 1;
inline constexpr int id_cancel = 2;

enum class ControlKind {
    static_left,
    static_centre,
    static_right,
    edit,
    check_box,
    radio_button,
    push_button,
    default_push_button,
    list_box,
    icon,  // a picture; the text is its resource path
};

// Style flags of a control.
enum ControlStyle : unsigned {
    plain = 0,
    multiple_selection = 1u << 0,  // a list box whose clicks turn each line's selection on or off
    word_wrap = 1u << 1,           // a static text of more than one line
    label_left = 1u << 2,          // a check box whose label stands left of its box
    extended_selection = 1u << 3,  // a list box where Shift and Ctrl extend the selection
    bordered = 1u << 4,            // a static text inside a drawn box
};

struct ControlTemplate {
    int id = no_id;
    ControlKind kind = ControlKind::static_left;
    std::string_view text;
    int x = 0, y = 0, width = 0, height = 0;  // dialog units
    int text_limit = 0;                       // edits only: the most characters it takes
    unsigned style = plain;
    std::string_view spoken_name;  // what a screen reader calls a control without text of its own
};

// How a dialog's frame and font differ from the usual: a caption with a close box, the desktop's
// sans face at its normal weight, placed over its parent.
enum DialogStyle : unsigned {
    usual = 0,
    no_close_box = 1u << 0,        // only the dialog's own buttons end it (and Escape)
    heavy_font = 1u << 1,          // the sans face at its heaviest weight
    centred_on_screen = 1u << 2,   // centred on the screen rather than over its parent
};

struct DialogTemplate {
    int id = 0;
    std::string_view caption;
    int width = 0, height = 0;  // dialog units
    int font_points = 8;
    std::span<const ControlTemplate> controls;
    unsigned style = usual;
    // What a screen reader calls the dialog's radio buttons together; they are one group.
    std::string_view choices_name;
};

}  // namespace daybrook
