#!/usr/bin/env bash
# What a keyboard user expects: F1 opens General Help in the main window and each dialog's own
# help in the dialog; Enter in "Warning!" answers No, so a shorter keeping time is not taken by
# habit; a day that holds ten entries is refused with New Date still open and its memo kept.
source "$(dirname "$0")/lib.sh"
start_display

printf '[Daybrook]\nKeepCode=3\nLastSet=20000\nSounds=0\n' >"$config/WYNDALE.INI"
for slot in 0 1 2 3 4 5 6 7 8 9; do
    write_entry "DAT20823.00$slot" "busy $slot" "05/01/27" "DAT20823.00$slot" 0 0
done

start_diary "2026-12-06 10:00:00"
window=$(diary_window)

focus_window "$window"
xdotool key F1
window_named "General Help" general_help_folder
xdotool key Return
gone "General Help"

# F1 in New Date, from the date field, opens its help; closing it returns to the dialog.
focus_window "$window"
xdotool key --clearmodifiers alt+e n
window_named "New Date"
xdotool type --delay 20 "05/01/27"
xdotool key F1
window_named "Help about New Entries"
xdotool key Return
gone "Help about New Entries"
window_named "New Date"
xdotool key Tab
xdotool type --delay 20 "Kept memo"
xdotool key Return
window_named "Day Full" day_full
xdotool key Return
gone "Day Full"
window_named "New Date"
xdotool key shift+Tab ctrl+a
xdotool type --delay 20 "06/01/27"
xdotool key Return
entry="$diary/DAT20824.000"
wait_for_file "$entry"
[ "$(head -c 9 "$entry")" = "Kept memo" ] || fail "the memo typed before Day Full: $(head -c 20 "$entry" | od -c)"
expect_no_file "$diary/DAT20823.010"

# Enter in the warning answers No: the year stays chosen, and F1 then opens the dialog's help.
focus_window "$window"
xdotool key --clearmodifiers alt+o o
window_named "Keep old Entries"
xdotool key Up Up Return
window_named "Warning!" warning_on_no
xdotool key Return
gone "Warning!"
window_named "Keep old Entries"
xdotool key F1
window_named "Help on Retaining Entries"
xdotool key Return
gone "Help on Retaining Entries"
window_named "Keep old Entries"
xdotool key Return
gone "Keep old Entries"
caption=$(xdotool getwindowname "$window")
[ "$caption" = "Daybrook  (Saving Entries for One Year)" ] || fail "the keeping time changed: $caption"

close_window "$window"
wait_for_exit 10
grep -q '^KeepCode=3$' "$config/WYNDALE.INI" || fail "the code changed: $(cat "$config/WYNDALE.INI")"
echo "PASS"
