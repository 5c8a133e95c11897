#include "resources/help_templates.h"

#include <array>

namespace daybrook {
namespace {

using enum ControlKind;

constexpr ControlTemplate text(std::string_view words, int x, int y, int width, int height) {
    return {no_id, static_left, words, x, y, width, height, 0, word_wrap};
}
constexpr ControlTemplate ok_at(int x, int y) { return {id_ok, default_push_button, "OK", x, y, 50, 14}; }

constexpr std::array new_entries_controls = {
    text("Dates can be any day from the present date to 31/12/2050", 8, 12, 420, 14),
    text("Dates should be expressed as  dd/mm/yy using the last two digits of the year eg:  02 for 2002 etc.",
         4, 32, 420, 10),
    text("If you are unsure of the date of an event within the next 20 weeks, you may enter the Day Name of the "
         "event, for example Tuesday. The name may be shortened (Tue, or even Tu), and the next 20 such days are "
         "offered. Choose one by highlighting it and pressing 'OK', or by double-clicking it. To make the entry on "
         "several of those days, select several lines and press 'OK' instead of double-clicking.",
         4, 44, 420, 32),
    text("This is particularly useful if you know, for example, that the party is on Wednsday week but are unsure "
         "of the date.",
         4, 80, 420, 8),
    text("You may also enter a simple integer in the date field. It is read as that many days ahead of 'today': "
         "on 18th June, for example, 14 gives July 2nd.",
         4, 95, 444, 17),
    text("This might be useful if your licence expires in, say 30 days.", 4, 116, 448, 10),
    text("The 'event' can be about 60 characters long.", 8, 150, 420, 11),
    text("To re-enter, automatically, the event each year, check the 'year' box.", 8, 168, 420, 10),
    text("To show the event on the same day for several weeks, press the 'weeks' button and enter the number of "
         "weeks.",
         8, 180, 420, 12),
    text("To show the event for several consecutive days, press the 'days' button and enter the number of days.",
         8, 192, 420, 12),
    text("If you check the 'Red Letter Day' box, the event will be printed in red, instead of the normal yellow, "
         "for emphasis.",
         8, 204, 420, 16),
    text("When using the Day Name facility to enter a date, yearly and weekly automatic repeats are not "
         "available, and daily repeats are limited to seven days.",
         8, 216, 420, 16),
    ok_at(420, 236),
};

constexpr std::array deletions_controls = {
    text("You can find an entry that you wish to delete if you know either the date of the entry or a word that "
         "occurs in the entry.",
         20, 15, 224, 20),
    text("Enter either the word to be searched for or a date in dd/mm/yy format and then choose either the 'Key "
         "Word' or the 'Date' search button. ",
         20, 40, 222, 30),
    ok_at(203, 78),
};

constexpr std::array deletion_choice_controls = {
    text("Select the item that you wish to delete and click 'OK' or double-click on the item.  The selected entry "
         "will be deleted from the diary.",
         21, 20, 233, 24),
    text("By using the 'shift' or 'control' keys you may select more than one item for deletion.", 22, 43, 187,
         15),
    text("If necessary, use the scroll-bar to find the item.", 22, 67, 157, 15),
    ok_at(212, 75),
};

// The desktop's autostart entry, its sound theme and the diary folder stand where the first
// platform had its start-up group, its own sounds and the program's folder. The folder's text is
// filled in with the folder the diary really uses.
constexpr std::array general_controls = {
    text("Daybrook provides a simple Diary for memos. Start it by clicking its icon in the application menu, or "
         "let the desktop start it at login through its autostart entry, with the command-line argument -a "
         "followed by one or two integers.",
         12, 16, 366, 24),
    text("The first integer indicates the number of seconds the display will remain on the screen when there is "
         "no entry for 'today'. The optional second figure is the time it stays when there is an entry for "
         "'today': -a 5 30 shows the week for 5 seconds without, and for 30 seconds with, such an entry.",
         12, 44, 364, 32),
    text("Facilities are provided for making entries which will repeat, automatically, each year and for special "
         "entries to appear on-screen in red type. (Red Letter Days).",
         12, 84, 366, 19),
    text("Each time Daybrook is called, the week's events are examined and an 'alarm' sound is produced.  This "
         "function may be turned off using the 'Options' menu.",
         12, 107, 366, 18),
    text("You may use your own sound (.WAV) files for the alarm sounds: 'THISDAY.WAV' sounds for an event today, "
         "'REDLET.WAV' if today is a Red Letter day, and 'THISWEEK.WAV' for an event on any other day of the "
         "week.",
         12, 129, 366, 26),
    text("If these sound files can not be found in the diary folder, Daybrook will use the desktop's sound theme: "
         "'message-new-instant', 'complete' and 'bell' respectively",
         12, 159, 370, 19),
    text("A Search facility is provided to list all entries containing a specified word. Entries can also be "
         "deleted by searching for specific words or a particular date. Up to ten memos can be inserted for any "
         "one day.",
         12, 182, 366, 20),
    text("Although there are Scroll Bars shown on the window, you can scroll the page by dragging the mouse off the "
         "edge in the direction you wish to scroll. This helps when viewing 'all' or many entries, or an "
         "unusually long entry.",
         12, 202, 320, 24),
    text("Entries can be made for any date between the current date and December 31st 2050.", 12, 230, 366, 12),
    text("Normally, entries are deleted the day after they expire, but with OPTIONS|OLD ENTRIES on the main menu "
         "they may be saved. Too many old files occupy disc space and slow the program, so use the 'Keep "
         "Forever' option with caution.",
         12, 246, 363, 26),
    ControlTemplate{general_help_folder_id, static_left,
                    "Daybrook creates files in its diary folder, %1, of the form 'DAT12345.001'.  These contain "
                    "your entries and must NOT be deleted!",
                    12, 276, 366, 19, 0, word_wrap},
    ok_at(324, 298),
};

constexpr std::array about_controls = {
    text("Daybrook is a simple Diary for Linux.", 36, 11, 137, 11),
    text("Version 4.7.0  (February 2012)", 48, 24, 114, 11),
    ControlTemplate{no_id, static_left,
                    "This program is freeware. You may copy it and pass it on to others, provided that it is not "
                    "altered in any way.",
                    8, 107, 130, 34, 0, word_wrap | bordered},
    ControlTemplate{no_id, icon, ":/icons/daybrook-32.png", 176, 76, 21, 20},
    ControlTemplate{no_id, icon, ":/icons/daybrook-yellow-32.png", 8, 80, 21, 20},
    ok_at(155, 123),
};

constexpr std::array looking_ahead_controls = {
    text("You can start looking at your diary at any date in the future. To see the entries made for August "
         "2050, for example, enter the date 1/8/50.",
         17, 15, 155, 40),
    text("Dates should always be given in dd/mm/yy format.  Though if not ambiguous, d/m/y is acceptable.", 17,
         60, 155, 27),
    ok_at(135, 104),
};

constexpr std::array search_controls = {
    text("You can either search for entries containing a particular word or, by checking the box, view all the "
         "entries in the diary!",
         13, 22, 157, 31),
    text("A blue star at the begining of a line indicates that the entry is a yearly repeating entry.", 13, 54,
         160, 19),
    ok_at(120, 96),
};

constexpr std::array retaining_controls = {
    text("Each entry in Daybrook is held in a small file of format 'DAT12345.001', and by default these files are "
         "deleted the day after they expire. They can, however, be preserved for longer.",
         22, 10, 279, 26),
    text("The 'Options|Old Entries' menu item allows you to elect to keep old entries for various lengths of time "
         "after they expire. They can then still be read at a later date.",
         22, 40, 279, 25),
    text("Old entries are read using the 'View|Past Entries' option. It is available only while entries are "
         "preserved beyond their expiry date, and past entries are shown colourless, like ghosts, whatever colour "
         "they were entered in.",
         22, 69, 279, 25),
    text("Entries with the 'repeat each year' tag are re-entered in the diary on the normal expiry date "
         "irrespective of when they become due for deletion.",
         22, 98, 279, 18),
    text("Keeping a very large number of old files will use up disc space and may slow the program closure time, "
         "so use the 'Keep Forever' option with circumspection.",
         22, 120, 281, 24),
    ok_at(262, 151),
};

constexpr DialogTemplate new_entries{6, "Help about New Entries", 488, 257, 8, new_entries_controls, centred_on_screen};
constexpr DialogTemplate deletions{7, "Help about Deletions", 266, 102, 8, deletions_controls};
constexpr DialogTemplate deletion_choice{8, "Select Deletion Help", 269, 95, 8, deletion_choice_controls};
constexpr DialogTemplate general{9, "General Help", 396, 321, 8, general_controls};
constexpr DialogTemplate about{10, "About Daybrook", 212, 146, 8, about_controls};
constexpr DialogTemplate looking_ahead{11, "Looking Ahead", 194, 125, 8, looking_ahead_controls};
constexpr DialogTemplate search{12, "Search help", 180, 119, 8, search_controls};
constexpr DialogTemplate retaining{14, "Help on Retaining Entries", 321, 168, 8, retaining_controls};

}  // namespace

const DialogTemplate& help_template(HelpTopic topic) {
    switch (topic) {
    case HelpTopic::new_entries: return new_entries;
    case HelpTopic::deletions: return deletions;
    case HelpTopic::deletion_choice: return deletion_choice;
    case HelpTopic::general: return general;
    case HelpTopic::about: return about;
    case HelpTopic::looking_ahead: return looking_ahead;
    case HelpTopic::search: return search;
    case HelpTopic::retaining: return retaining;
    }
    return general;
}

}  // namespace daybrook
