#include "resources/dialog_templates.h"

#include <array>

namespace daybrook {
namespace {

using enum ControlKind;

namespace ne = new_entry_ids;
constexpr std::array new_entry_controls = {
    ControlTemplate{ne::date_label, static_left, "Date of Event", 112, 8, 48, 9},
    ControlTemplate{no_id, static_centre, "(dd/mm/yy) or (Dayname) or (Days ahead)", 60, 16, 45, 24},
    ControlTemplate{ne::date, edit, "", 112, 21, 48, 17, 23, plain, "Date of Event"},
    ControlTemplate{no_id, static_right, "Event", 11, 56, 21, 13},
    ControlTemplate{ne::event, edit, "", 44, 53, 246, 15, 60, plain, "Event"},
    ControlTemplate{ne::yearly, check_box, "Repeat Each Year", 211, 86, 83, 12},
    ControlTemplate{ne::red_letter, check_box, "Red Letter Day", 211, 102, 77, 14},
    ControlTemplate{ne::single, radio_button, "Single Entry", 25, 106, 69, 14},
    ControlTemplate{ne::weekly, radio_button, "Repeat Weekly for", 25, 124, 72, 14},
    ControlTemplate{ne::weeks, edit, "", 103, 126, 14, 11, 2, plain, "Repeat weekly for how many weeks"},
    ControlTemplate{ne::weeks_label, static_left, "weeks", 123, 128, 29, 10},
    ControlTemplate{ne::daily, radio_button, "Repeat Daily for", 25, 142, 65, 14},
    ControlTemplate{ne::days, edit, "", 103, 144, 14, 11, 2, plain, "Repeat daily for how many days"},
    ControlTemplate{ne::days_label, static_left, "days", 124, 146, 21, 11},
    ControlTemplate{ne::max_seven, static_left, "(Max 7)", 144, 146, 32, 9},
    ControlTemplate{id_cancel, push_button, "Cancel", 20, 183, 50, 14},
    ControlTemplate{ne::help, push_button, "Help", 127, 182, 50, 14},
    ControlTemplate{id_ok, default_push_button, "OK", 238, 184, 50, 14},
    ControlTemplate{ne::confirm, default_push_button, "Confirm", 238, 184, 50, 14},
};
constexpr DialogTemplate new_entry{1, "New Date", 309, 205, 8, new_entry_controls, usual, "How often"};

namespace se = search_ids;
constexpr std::array search_controls = {
    ControlTemplate{no_id, static_right, "Search for", 25, 22, 42, 12},
    ControlTemplate{se::word, edit, "", 69, 20, 55, 12, 11, plain, "Search for"},
    ControlTemplate{se::case_sensitive, check_box, "Case Sensitive", 32, 36, 66, 13, 0, label_left},
    ControlTemplate{se::show_all, check_box, "Show all entries", 116, 52, 66, 11, 0, label_left},
    ControlTemplate{id_cancel, push_button, "Cancel", 18, 83, 50, 14},
    ControlTemplate{se::help, push_button, "Help", 75, 83, 50, 14},
    ControlTemplate{id_ok, default_push_button, "OK", 132, 83, 50, 14},
};
constexpr DialogTemplate search{2, "Search Diary", 194, 101, 8, search_controls};

namespace fd = find_deletion_ids;
// Wide enough for a window manager to show the whole caption beside its buttons.
constexpr std::array find_deletion_controls = {
    ControlTemplate{no_id, static_left, "Enter Word or Date to find Entry for Deletion", 33, 14, 84, 18, 0, word_wrap},
    ControlTemplate{fd::text, edit, "", 40, 38, 72, 14, 23, plain, "Word or date to find"},
    ControlTemplate{fd::key_word, radio_button, "Search For Key-word", 34, 59, 89, 13},
    ControlTemplate{fd::date, radio_button, "Search for Date", 34, 73, 63, 13},
    ControlTemplate{fd::match_case, check_box, "Match Case", 28, 99, 67, 16},
    ControlTemplate{fd::help, push_button, "Help", 103, 131, 50, 14},
    ControlTemplate{id_cancel, push_button, "Cancel", 29, 151, 50, 14},
    ControlTemplate{id_ok, default_push_button, "Search", 103, 151, 50, 14},
};
constexpr DialogTemplate find_deletion{3, "Find Entry for Deletion", 180, 174, 8, find_deletion_controls, usual,
                                       "Search by"};

namespace dc = deletion_choice_ids;
constexpr std::array deletion_choice_controls = {
    ControlTemplate{dc::lines, list_box, "", 66, 22, 194, 211, 0, extended_selection, "Entries to delete"},
    ControlTemplate{id_cancel, push_button, "Cancel", 27, 246, 50, 14},
    ControlTemplate{dc::help, push_button, "Help", 174, 247, 50, 14},
    ControlTemplate{id_ok, default_push_button, "Delete", 241, 247, 50, 14},
};
constexpr DialogTemplate deletion_choice{4, "Deletion Choice", 302, 266, 8, deletion_choice_controls};

constexpr std::array start_date_controls = {
    ControlTemplate{no_id, static_left, "Show entries starting from", 6, 29, 90, 12},
    ControlTemplate{start_date_ids::date, edit, "", 104, 27, 55, 12, 23, plain, "Show entries starting from"},
    ControlTemplate{id_cancel, push_button, "Cancel", 14, 74, 50, 14},
    ControlTemplate{start_date_ids::help, push_button, "Help", 92, 75, 50, 14},
    ControlTemplate{id_ok, default_push_button, "OK", 164, 75, 50, 14},
};
constexpr DialogTemplate start_date{5, "Set Starting Date", 222, 90, 8, start_date_controls};

constexpr std::array keep_time_controls = {
    ControlTemplate{101, radio_button, "Do not keep old entries", 39, 12, 110, 13},
    ControlTemplate{102, radio_button, "Keep for One Week", 39, 26, 110, 13},
    ControlTemplate{103, radio_button, "Keep for One Month", 39, 40, 110, 13},
    ControlTemplate{104, radio_button, "Keep for a Year", 39, 54, 110, 13},
    ControlTemplate{105, radio_button, "Keep for Ever", 39, 68, 110, 13},
    ControlTemplate{id_ok, default_push_button, "OK", 12, 96, 50, 14},
    ControlTemplate{id_cancel, push_button, "Cancel", 72, 96, 50, 14},
    ControlTemplate{keep_time_ids::help, push_button, "Help", 132, 96, 50, 14},
};
constexpr DialogTemplate keep_time{13, "Keep old Entries", 194, 119, 8, keep_time_controls, usual,
                                   "How long to keep old entries"};

constexpr std::array warn_delete_controls = {
    ControlTemplate{101, static_centre, "You have opted to shorten the time that memos\nwill be kept for after their date has passed.",
                    2, 9, 184, 18},
    ControlTemplate{102, static_centre, "If you continue, your older unselected memos will\nbe permanently deleted!", 7, 32,
                    166, 18},
    ControlTemplate{103, static_centre, "Do you really want to do this ?", 22, 59, 125, 8},
    ControlTemplate{id_cancel, push_button, "No", 13, 78, 31, 12},
    ControlTemplate{id_ok, push_button, "Yes", 133, 78, 31, 12},
};
constexpr DialogTemplate warn_delete{17, "Warning!", 186, 93, 12, warn_delete_controls, no_close_box | heavy_font};

constexpr std::array date_choice_controls = {
    ControlTemplate{date_choice_ids::prompt, static_left, "", 32, 16, 204, 16, 0, word_wrap},
    ControlTemplate{date_choice_ids::dates, list_box, "", 44, 48, 180, 128, 0, multiple_selection,
                    "Dates to choose from"},
    ControlTemplate{id_cancel, push_button, "Cancel", 32, 188, 48, 14},
    ControlTemplate{id_ok, push_button, "OK", 184, 188, 50, 14},
};
constexpr DialogTemplate date_choice{15, "Which Date", 259, 212, 8, date_choice_controls};

constexpr std::array ahead_date_controls = {
    ControlTemplate{101, static_left, "Will make an entry on:", 27, 13, 76, 12},
    ControlTemplate{ahead_date_ids::date, static_left, "", 105, 13, 75, 9},
    ControlTemplate{id_cancel, push_button, "Cancel", 30, 39, 50, 14},
    ControlTemplate{id_ok, default_push_button, "OK", 160, 39, 50, 14},
};
constexpr DialogTemplate ahead_date{16, "Check forward date", 240, 65, 8, ahead_date_controls};

}  // namespace

const DialogTemplate& new_entry_template() { return new_entry; }
const DialogTemplate& search_template() { return search; }
const DialogTemplate& find_deletion_template() { return find_deletion; }
const DialogTemplate& deletion_choice_template() { return deletion_choice; }
const DialogTemplate& start_date_template() { return start_date; }
const DialogTemplate& keep_time_template() { return keep_time; }
const DialogTemplate& warn_delete_template() { return warn_delete; }
const DialogTemplate& date_choice_template() { return date_choice; }
const DialogTemplate& ahead_date_template() { return ahead_date; }

}  // namespace daybrook
