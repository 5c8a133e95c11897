#!/usr/bin/env bash
# --undo-import where the desktop's trash cannot take the entries, run as a user without the
# power to write past permissions: it ends at once, says why, leaves the entries in the diary and
# makes nothing in the folder it was typed in; the undo still works once the trash does. A
# relative XDG_DATA_HOME counts for nothing, so the trash is the one under HOME.
source "$(dirname "$0")/lib.sh"
unset DISPLAY WAYLAND_DISPLAY
export XDG_CONFIG_HOME="$config"
mkdir "$work/shell" "$work/home"
printf '%s\r\n' BEGIN:VCALENDAR VERSION:2.0 "PRODID:-//Example//Club//EN" \
    BEGIN:VEVENT UID:one@example "DTSTART;VALUE=DATE:20300101" SUMMARY:One END:VEVENT \
    BEGIN:VEVENT UID:two@example "DTSTART;VALUE=DATE:20300102" SUMMARY:Two END:VEVENT \
    END:VCALENDAR >"$work/two.ics"

# The diary on the test's diary folder, typed in the shell's folder, for 20 seconds at most.
diary_in_shell() {
    (cd "$work/shell" && exec timeout 20 setpriv --bounding-set=-dac_override,-dac_read_search \
        --inh-caps=-dac_override,-dac_read_search "$daybrook_binary" --folder "$diary" "$@")
}
import_two() {
    [ "$(diary_in_shell --import-ics "$work/two.ics")" = "Added 2 entries, skipped 0." ] || fail "the import"
}

# Each data folder below is broken in its own way; the reason the diary gives names it.
mkdir -p "$work/info/Trash/files" "$work/info/Trash/info" "$work/plain" "$work/read-only"
chmod 500 "$work/info/Trash/info" "$work/read-only"
: >"$work/plain/Trash"
mkdir "$work/dangling" && ln -s "$work/nowhere" "$work/dangling/Trash"
while IFS='|' read -r data reason; do
    import_two
    status=0
    XDG_DATA_HOME="$work/$data" diary_in_shell --undo-import >"$work/out.log" 2>"$work/err.log" || status=$?
    [ "$status" -eq 1 ] || fail "$data: status $status, $(cat "$work/err.log")"
    grep -q "^Daybrook removed nothing: the trash cannot take its entries: .*$reason" "$work/err.log" ||
        fail "$data: $(cat "$work/err.log")"
    [ "$(diary_in_shell --list 4000 | grep -c -E 'One|Two')" = 2 ] || fail "$data: the entries left the diary"
    [ -z "$(ls -A "$work/shell")" ] || fail "$data: the undo made $(ls -A "$work/shell") where it was typed"
    [ "$(diary_in_shell --undo-import)" = "Removed 2 entries of the last import to the trash." ] ||
        fail "$data: the undo with a working trash"
done <<EOF_CASES
info|cannot write in $work/info/Trash/info
plain|$work/plain/Trash is not a folder
dangling|cannot reach $work/dangling/Trash
read-only|cannot make $work/read-only/Trash
EOF_CASES
[ "$(ls "$work/data/Trash/files" | wc -l)" = 8 ] || fail "the trash does not hold the entries of the later undos"

import_two
[ "$(XDG_DATA_HOME=relative HOME="$work/home" diary_in_shell --undo-import)" = \
    "Removed 2 entries of the last import to the trash." ] || fail "the undo with a relative XDG_DATA_HOME"
[ "$(ls "$work/home/.local/share/Trash/files" | wc -l)" = 2 ] && [ ! -e "$work/shell/relative" ] ||
    fail "a relative XDG_DATA_HOME: the entries are not in the trash under HOME"
echo "PASS"
