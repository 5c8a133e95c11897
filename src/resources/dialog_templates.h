// The templates of the diary's dialogs, and the ids of their controls.
#pragma once

#include "framework/dialog_template.h"

namespace daybrook {

// New Entry ("New Date").
namespace new_entry_ids {
inline constexpr int date = 101, event = 102, weeks = 103, red_letter = 104, yearly = 105;
inline constexpr int single = 106, weekly = 107, daily = 108, days = 109, date_label = 110;
inline constexpr int max_seven = 111, confirm = 112, days_label = 120, weeks_label = 121, help = 998;
}  // namespace new_entry_ids

// Choosing among the dates of a weekday ("Which Date").
namespace date_choice_ids {
inline constexpr int dates = 102, prompt = 103;
}

// Confirming a date some days ahead ("Check forward date").
namespace ahead_date_ids {
inline constexpr int date = 102;
}

// Searching the diary ("Search Diary").
namespace search_ids {
inline constexpr int word = 101, case_sensitive = 102, show_all = 103, help = 104;
}

// Finding entries to delete ("Find Entry for Deletion").
namespace find_deletion_ids {
inline constexpr int key_word = 101, date = 102, text = 103, match_case = 105, help = 998;
}

// Choosing the entries to delete ("Deletion Choice").
namespace deletion_choice_ids {
inline constexpr int lines = 101, help = 998;
}

// Choosing the first day of the week page ("Set Starting Date").
namespace start_date_ids {
inline constexpr int date = 101, help = 998;
}

// Choosing how long old entries are kept ("Keep old Entries"): one radio button per keep code,
// from 0 ("Do not keep old entries") to 4 ("Keep for Ever").
namespace keep_time_ids {
inline constexpr int first_choice = 101, last_choice = 105, help = 998;
}

const DialogTemplate& new_entry_template();
const DialogTemplate& search_template();
const DialogTemplate& find_deletion_template();
const DialogTemplate& deletion_choice_template();
const DialogTemplate& start_date_template();
const DialogTemplate& keep_time_template();
const DialogTemplate& warn_delete_template();
const DialogTemplate& date_choice_template();
const DialogTemplate& ahead_date_template();

}  // namespace daybrook
