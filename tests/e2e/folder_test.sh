#!/usr/bin/env bash
# One diary however its folder is named: the window started from any folder works on the
# diary's own folder, and a start that names the same folder another way (--folder with a
# relative path, through a symbolic link, --own-folder) hands over to that window and ends
# instead of opening a second. Another folder is another diary, with a window of its own whose
# close works on that folder alone.
source "$(dirname "$0")/lib.sh"
start_display
mkdir "$work/other"
ln -s "$diary" "$work/link"

start_diary "2026-12-06 10:00:00"
first=$diary_pid
diary_window >/dev/null
for named in "--folder data/daybrook" "--folder=link" "--own-folder"; do
    # shellcheck disable=SC2086
    start_diary "2026-12-06 10:00:00" $named
    wait_for_exit 10  # handed over: a window of its own would stay open
done

# This one shows a window of its own, and is ended as the desktop session ends it.
start_diary "2026-12-06 10:00:00" --folder other
await_window 20 --pid "$diary_pid" --name '^Daybrook' >/dev/null ||
    fail "another folder handed over to the open diary: $(cat "$work/diary.log")"
kill -TERM "$diary_pid"
wait_for_exit 10
expect_file "$work/other/.daybrook.lock"  # its close ran on its own folder
expect_no_file "$diary/.daybrook.lock"    # and not on the open diary's

diary_pid=$first
close_window "$(diary_window)"
wait_for_exit 10
expect_file "$diary/.daybrook.lock"
echo "PASS"
