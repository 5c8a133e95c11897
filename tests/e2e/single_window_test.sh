#!/usr/bin/env bash
# One diary window per diary folder: a second start brings the open window to the front and ends;
# a run that crashed leaves nothing that keeps the next start from opening its window. The
# glance at login (auto mode) runs beside an open window.
source "$(dirname "$0")/lib.sh"
start_display

start_diary "2026-12-06 10:00:00"
first=$diary_pid
window=$(diary_window)
xdotool windowminimize --sync "$window"

start_diary "2026-12-06 10:00:00"
wait_for_exit 10
await_window 20 --pid "$first" --name '^Daybrook' >/dev/null ||
    fail "the open window did not come to the front"
[ "$(xdotool search --onlyvisible --name '^Daybrook' | wc -l)" -eq 1 ] || fail "a second window opened"

run_until_closed "2026-12-06 10:00:00" -a 1  # beside the open window

kill -KILL "$first"
wait "$first" 2>/dev/null || true
start_diary "2026-12-06 10:00:00"
diary_window >/dev/null
close_window "$(diary_window)"
wait_for_exit 10
echo "PASS"
