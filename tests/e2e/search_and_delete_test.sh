#!/usr/bin/env bash
# Finding and deleting with the keyboard alone: Search Diary shows the results page for a word;
# then one entry is deleted through Find Entry for Deletion and Deletion Choice, and every other
# file of the diary folder stays exactly as it was.
source "$(dirname "$0")/lib.sh"
start_display

# Sunday 6 December 2026 is day 20793.
write_entry DAT20794.000 "Dentist at ten" 07/12/26 DAT20794.000 0 0
write_entry DAT20795.000 "Haircut" 08/12/26 DAT20795.000 0 0
write_entry DAT20796.000 "see the DENTIST again" 09/12/26 DAT20796.000 0 0

# Waits for a dialog of that caption and gives it the keyboard.
dialog_named() {
    local dialog
    dialog=$(await_window 10 --name "^$1\$") || fail "$1 did not open"
    focus_window "$dialog"
}

start_diary "2026-12-06 10:00:00"
window=$(diary_window)
# The week page's dates are blue.
await_picture "$window" "$work/week.png" 0000FF 301 "the week page was not shown first"

focus_window "$window"
xdotool key --clearmodifiers alt+v s
dialog_named "Search Diary"
xdotool type --delay 20 "dentist"
[ -n "${DAYBROOK_SCREENSHOTS:-}" ] && import -window root "$DAYBROOK_SCREENSHOTS/search_diary.png"
xdotool key Return
# The results page lists the two dentist entries, dates and memos alike, in the yellow of entries
# to come, and none of the week's blue dates.
await_picture "$window" "$work/results.png" FFFF00 201 "the results page does not list the entries"
[ -n "${DAYBROOK_SCREENSHOTS:-}" ] && cp "$work/results.png" "$DAYBROOK_SCREENSHOTS/search_results.png"
[ "$(pixels_of "$work/results.png" 0000FF)" -lt 20 ] || fail "the results page still shows the week's dates"

before=$(cd "$diary" && ls -A | grep -v '^DAT20794.000$' | xargs md5sum)
focus_window "$window"
xdotool key --clearmodifiers alt+e d
dialog_named "Find Entry for Deletion"
xdotool type --delay 20 "dentist"
[ -n "${DAYBROOK_SCREENSHOTS:-}" ] && import -window root "$DAYBROOK_SCREENSHOTS/find_deletion.png"
xdotool key Return
dialog_named "Deletion Choice"
[ -n "${DAYBROOK_SCREENSHOTS:-}" ] && import -window root "$DAYBROOK_SCREENSHOTS/deletion_choice.png"
xdotool key space Return
for _ in $(seq 200); do [ -e "$diary/DAT20794.000" ] || break; sleep 0.1; done
expect_no_file "$diary/DAT20794.000"
after=$(cd "$diary" && ls -A | xargs md5sum)
[ "$before" = "$after" ] || fail "other files changed: $before / $after"
expect_file "$XDG_DATA_HOME/Trash/files/DAT20794.000"  # deleted to the desktop's trash

close_window "$window"
wait_for_exit 10
echo "PASS"
