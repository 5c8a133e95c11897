#!/usr/bin/env bash
# Keeping old entries for a shorter time with the keyboard alone, the warning answered Yes:
# the caption follows at once and the settings file holds the new code after closing.
# The Help menu opens General Help and the About box, and Set Starting Date shows a later week.
source "$(dirname "$0")/lib.sh"
start_display

printf '[Daybrook]\nKeepCode=3\nLastSet=20000\nSounds=0\n' >"$config/WYNDALE.INI"

start_diary "2026-12-06 10:00:00"
window=$(diary_window)
[ "$(xdotool getwindowname "$window")" = "Daybrook (Saving Entries for One Year)" ] || fail "caption at start"

focus_window "$window"
xdotool key --clearmodifiers alt+o o
window_named "Keep old Entries" keep_old_entries
xdotool key Up Up Return
window_named "Warning!" warning
# The warning opens on No; Tab moves to Yes.
xdotool key Tab Return
caption=""
for _ in $(seq 200); do
    caption=$(xdotool getwindowname "$window")
    [ "$caption" = "Daybrook  (Saving Entries for One Week)" ] && break
    sleep 0.1
done
[ "$caption" = "Daybrook  (Saving Entries for One Week)" ] || fail "caption after the choice: $caption"

focus_window "$window"
xdotool key --clearmodifiers alt+h g
window_named "General Help" general_help
xdotool key Return
focus_window "$window"
xdotool key --clearmodifiers alt+h a
window_named "About Daybrook" about
xdotool key Return

focus_window "$window"
xdotool key --clearmodifiers alt+v f
window_named "Set Starting Date" start_date
xdotool type --delay 20 "1/8/50"
xdotool key Return
gone "Set Starting Date"
[ -n "${DAYBROOK_SCREENSHOTS:-}" ] && import -window "$window" "$DAYBROOK_SCREENSHOTS/august_2050.png"

close_window "$window"
wait_for_exit 10
grep -q '^KeepCode=1$' "$config/WYNDALE.INI" || fail "the new code was not saved: $(cat "$config/WYNDALE.INI")"
echo "PASS"
