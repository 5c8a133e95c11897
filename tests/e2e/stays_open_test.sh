#!/usr/bin/env bash
# Command lines that do not ask for a timed close leave the window open until the user closes
# it; closing it through the window manager still saves the settings, and so does the end of the
# desktop session (SIGTERM).
source "$(dirname "$0")/lib.sh"
start_display

for arguments in "-a 0" "-A 5" "-a 5 30 7" "-a abc"; do
    rm -f "$config/WYNDALE.INI"
    # shellcheck disable=SC2086
    start_diary "2026-12-06 10:00:00" $arguments
    window=$(diary_window)
    [ "$(xdotool getwindowname "$window")" = "Daybrook ()" ] || fail "caption for $arguments"
    expect_outer_frame "$window" "55 10 655 500"
    sleep 2
    kill -0 "$diary_pid" 2>/dev/null || fail "the diary closed by itself with $arguments"
    close_window "$window"
    wait_for_exit 10
    grep -q '^LastSet *= *20793' "$config/WYNDALE.INI" || fail "settings not saved after closing ($arguments)"
done
rm -f "$diary/.daybrook.lock"  # a folder no close has seen yet: it is listed whole
printf '[Daybrook]\nKeepCode=0\n' >"$config/WYNDALE.INI"  # keeping no old entries, as chosen
write_entry DAT20700.000 "long past" 05/09/26 DAT20700.000 0 0
start_diary "2026-12-06 10:00:00"
diary_window >/dev/null
kill -TERM "$diary_pid"
wait_for_exit 10
grep -q '^LastSet *= *20793' "$config/WYNDALE.INI" || fail "settings not saved at SIGTERM"
expect_no_file "$diary/DAT20700.000"

# A flood of signals (a session manager that insists) still lets the diary save and end: once
# its handlers are gone, a late signal may end it a moment early, but never before the save.
rm -f "$config/WYNDALE.INI"
start_diary "2026-12-06 10:00:00"
diary_window >/dev/null
for _ in $(seq 2000); do kill -TERM "$diary_pid" 2>/dev/null || break; done
for _ in $(seq 100); do kill -0 "$diary_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$diary_pid" 2>/dev/null && fail "the diary hangs after a flood of signals"
grep -q '^LastSet *= *20793' "$config/WYNDALE.INI" || fail "settings not saved under a flood of signals"
echo "PASS"
