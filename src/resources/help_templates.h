// The help texts and the About box, as dialog templates. Each help template is shown by its
// topic, which is also the template's number.
#pragma once

#include "framework/dialog_template.h"

namespace daybrook {

enum class HelpTopic {
    new_entries = 6,      // "Help" of New Date
    deletions = 7,        // "Help" of Find Entry for Deletion
    deletion_choice = 8,  // "Help" of Deletion Choice
    general = 9,          // the Help menu's General Help
    about = 10,           // the Help menu's About Daybrook
    looking_ahead = 11,   // "Help" of Set Starting Date
    search = 12,          // "Help" of Search Diary
    retaining = 14,       // "Help" of Keep old Entries
};

// The static text of General Help that names the diary folder, where "%1" stands for it.
inline constexpr int general_help_folder_id = 101;

const DialogTemplate& help_template(HelpTopic topic);

}  // namespace daybrook
