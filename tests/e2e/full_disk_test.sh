#!/usr/bin/env bash
# A full disk, as a user meets it. --export-ics onto a file system with no room for the calendar,
# or whose flush to disk fails: the export fails with status 1 and says why, an earlier export
# under the name stays as it was, and no new file or temporary file is left. --import-ics into a
# diary whose file system has no free inodes names that, not another copy of the diary. Needs
# root, for small file systems of its own; skips elsewhere.
source "$(dirname "$0")/lib.sh"
unset DISPLAY WAYLAND_DISPLAY
export XDG_CONFIG_HOME="$config"
disk="$work/disk"
inodes="$work/inodes"
mkdir "$disk" "$inodes"
if [ "$(id -u)" -ne 0 ] || ! mount -t tmpfs -o size=16k daybrook-test "$disk" 2>/dev/null; then
    echo "SKIPPED: a small file system cannot be mounted here (it needs root)" >&2
    exit 77
fi
trap 'umount "$disk"; umount "$inodes"; cleanup' EXIT
mount -t tmpfs -o size=1m,nr_inodes=16 daybrook-test "$inodes" || fail "cannot mount a file system with few inodes"

# Fifty entries a day apart from 1 January 2030: a calendar of about 12 KB.
for i in $(seq 0 49); do
    write_entry "DAT$((21915 + i)).000" "Entry number $i, with a memo as long as many are, to fill" \
        "$(date -u -d "2030-01-01 + $i days" +%d/%m/%y)" "DAT$((21915 + i)).000" 0 0
done
export_to() { (cd "$disk" && "$daybrook_binary" --export-ics "$1" >/dev/null 2>"$work/err.log"); }
expect_refused() {
    local status=0
    export_to "$1" || status=$?
    [ "$status" -eq 1 ] && grep -q "^Daybrook could not write $1: .*No space left on device" "$work/err.log" ||
        fail "$2: status $status, $(cat "$work/err.log")"
}

printf 'BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n' >"$disk/backup.ics"
before=$(md5sum <"$disk/backup.ics")
while IFS='|' read -r filler what; do
    head -c "${filler}k" /dev/zero >"$disk/filler" 2>/dev/null || true
    expect_refused backup.ics "$what, over an earlier export"
    [ "$(md5sum <"$disk/backup.ics")" = "$before" ] || fail "$what: the earlier export changed"
    expect_refused new.ics "$what, to a new file"
    [ "$(ls -A "$disk" | grep -v -x -e backup.ics -e filler)" = "" ] || fail "$what: left $(ls -A "$disk")"
done <<EOF_CASES
8|a disk with room for a part of the calendar
64|a full disk
EOF_CASES
# A flush to disk that fails counts as much as a write that does.
rm "$disk/filler"
if command -v strace >/dev/null; then
    status=0
    (cd "$disk" && strace -f -qq -o /dev/null -e inject=fsync:error=EIO "$daybrook_binary" --export-ics backup.ics \
        >/dev/null 2>"$work/err.log") || status=$?
    [ "$status" -eq 1 ] && grep -q "^Daybrook could not write backup.ics: Input/output error" "$work/err.log" ||
        fail "a failed flush to disk: status $status, $(cat "$work/err.log")"
    [ "$(md5sum <"$disk/backup.ics")" = "$before" ] && [ "$(ls -A "$disk")" = backup.ics ] || fail "a failed flush changed the disk"
fi
mkdir "$inodes/diary"
for i in $(seq 100); do : >"$inodes/filler-$i" 2>/dev/null || break; done
printf '%s\r\n' BEGIN:VCALENDAR VERSION:2.0 "PRODID:-//Example//EN" \
    BEGIN:VEVENT UID:one@example "DTSTART;VALUE=DATE:20300101" SUMMARY:One END:VEVENT END:VCALENDAR >"$work/one.ics"
status=0
"$daybrook_binary" --folder "$inodes/diary" --import-ics "$work/one.ics" >/dev/null 2>"$work/err.log" || status=$?
[ "$status" -eq 1 ] && grep -q "^Daybrook added nothing: .*(No space left on device)" "$work/err.log" ||
    fail "an import without free inodes: status $status, $(cat "$work/err.log")"
echo "PASS"
