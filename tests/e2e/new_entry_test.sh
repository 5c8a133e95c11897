#!/usr/bin/env bash
# Making entries with the keyboard alone: the Entry menu opens New Date, the user types a date
# and a memo and presses Enter; the entry file appears with its 111 bytes and the memo shows on
# the week page. Then a day name, picked from "Which Date" with the keyboard.
source "$(dirname "$0")/lib.sh"
start_display

# Opens New Date from the Entry menu and types a date, Tab and a memo.
type_new_entry() {
    focus_window "$window"
    xdotool key --clearmodifiers alt+e n
    local dialog
    dialog=$(await_window 10 --name '^New Date$') || fail "New Date did not open"
    focus_window "$dialog"
    xdotool type --delay 20 "$1"
    xdotool key Tab
    xdotool type --delay 20 "$2"
}

start_diary "2026-12-06 10:00:00"
window=$(diary_window)
type_new_entry "07/12/26" "Dentist at ten"
xdotool key Return

entry="$diary/DAT20794.000"
wait_for_file "$entry"
[ "$(stat -c %s "$entry")" = "111" ] || fail "the entry is not 111 bytes"
[ "$(head -c 14 "$entry")" = "Dentist at ten" ] || fail "memo: $(head -c 20 "$entry" | od -c)"
[ "$(od -An -c -j 81 -N 8 "$entry" | tr -d ' ')" = "07/12/26" ] || fail "date field"
[ "$(od -An -c -j 90 -N 12 "$entry" | tr -d ' ')" = "DAT20794.000" ] || fail "file field"
[ "$(od -An -t d4 -j 103 -N 8 "$entry" | tr -s ' ')" = " 0 0" ] || fail "flags"

await_picture "$window" "$work/after.png" FFFF00 101 "the new entry is not shown in yellow on the week page"
[ -n "${DAYBROOK_SCREENSHOTS:-}" ] && cp "$work/after.png" "$DAYBROOK_SCREENSHOTS/new_entry.png"
# A day name: "Which Date" lists the Tuesdays; Space marks the first, Enter takes it, and Enter
# in New Date confirms.
type_new_entry "tue" "Haircut"
xdotool key Return
window_named "Which Date"
xdotool key space Return
gone "Which Date"
window_named "New Date"
xdotool key Return
entry="$diary/DAT20795.000"
wait_for_file "$entry"
[ "$(head -c 7 "$entry")" = "Haircut" ] || fail "day-name memo: $(head -c 20 "$entry" | od -c)"

close_window "$window"
wait_for_exit 10
echo "PASS"
