#!/usr/bin/env bash
# The week page on a real screen: yesterday's entry in white, today's red-letter entry in red,
# tomorrow's in yellow, dates in blue. In auto mode with an entry today and no second number,
# the diary closes as soon as that page has been painted.
source "$(dirname "$0")/lib.sh"
start_display

# Sunday 6 December 2026 is day 20793.
write_entry DAT20792.000 "Yesterday's walk" 05/12/26 DAT20792.000 0 0
write_entry DAT20793.000 "Anniversary dinner" 06/12/26 DAT20793.000 0 1
write_entry DAT20794.000 "Dentist at ten" 07/12/26 DAT20794.000 0 0

start_diary "2026-12-06 10:00:00"
window=$(diary_window)
# The whole frame, title bar included, stands where the diary puts it, on the screen.
expect_outer_frame "$window" "55 10 655 500"
await_picture "$window" "$work/week.png" FF0000 201 "no red: the red-letter entry or the year label is missing"
if [ -n "${DAYBROOK_SCREENSHOTS:-}" ]; then
    cp "$work/week.png" "$DAYBROOK_SCREENSHOTS/week.png"
    import -window root "$DAYBROOK_SCREENSHOTS/screen.png"
fi
[ "$(pixels_of "$work/week.png" FFFF00)" -gt 100 ] || fail "no yellow: tomorrow's entry is missing"
[ "$(pixels_of "$work/week.png" FFFFFF)" -gt 100 ] || fail "no white: yesterday's row is missing"
[ "$(pixels_of "$work/week.png" 0000FF)" -gt 300 ] || fail "no blue: the dates are missing"
close_window "$window"
wait_for_exit 10

run_until_closed "2026-12-06 10:00:00" -a 5
[ "$run_ms" -lt 4000 ] || fail "with an entry today '-a 5' stayed $run_ms ms"
echo "PASS"
