#!/usr/bin/env bash
# The import of a calendar file as a user runs it in a terminal, the clock at Sunday 6 December
# 2026: a dry run changes no file; an endless weekly event gives one year of entries; the undo
# leaves the diary as it was before, with the imported entries in the trash; a second undo finds
# nothing to undo.
source "$(dirname "$0")/lib.sh"
unset DISPLAY WAYLAND_DISPLAY
export XDG_CONFIG_HOME="$config" XDG_DATA_HOME="$work/data"
library=$(dpkg -L libfaketime 2>/dev/null | grep -m1 '/libfaketime.so.1$') || fail "libfaketime is missing"

diary_in() {
    (cd "$diary" && FAKETIME="@2026-12-06 10:00:00" LD_PRELOAD="$library" exec "$daybrook_binary" "$@")
}
# Every file of the folder, hidden ones too, with its checksum; after the first import the lock
# file that every close of the diary makes anyway is left out.
snapshot() { (cd "$diary" && find . -type f ! -name .daybrook.lock -print0 | sort -z | xargs -0 -r md5sum); }

write_entry DAT20793.000 "Anniversary dinner" 06/12/26 DAT20793.000 0 1
write_entry DAT20796.000 "Dentist" 09/12/26 DAT20796.000 0 0
printf '%s\r\n' BEGIN:VCALENDAR VERSION:2.0 "PRODID:-//Example//Web Calendar//EN" \
    BEGIN:VEVENT UID:choir@example "DTSTART;VALUE=DATE:20261209" "RRULE:FREQ=WEEKLY;BYDAY=WE" SUMMARY:Choir END:VEVENT \
    BEGIN:VEVENT UID:dentist@example "DTSTART;VALUE=DATE:20261209" SUMMARY:Dentist END:VEVENT \
    BEGIN:VEVENT UID:old@example "DTSTART;VALUE=DATE:20200101" "SUMMARY:Long ago" END:VEVENT \
    END:VCALENDAR >"$work/club.ics"
before=$(snapshot)

dry=$(diary_in --import-ics "$work/club.ics" --dry-run) || fail "the dry run failed: $dry"
[ "$(head -n 1 <<<"$dry")" = "Would add 52 entries, skip 2 (a dry run: nothing was written)." ] || fail "the dry run: $dry"
grep -q '"Choir": 52 occurrences up to 06/12/2027' <<<"$dry" || fail "the dry run names no horizon: $dry"
[ "$(snapshot)" = "$before" ] && [ ! -e "$diary/.daybrook.lock" ] || fail "the dry run changed the folder"
# Nor does it make the diary's own folder where there is none yet: that is an empty diary, where
# the dentist is no duplicate.
fresh=$(XDG_DATA_HOME="$work/fresh" diary_in --import-ics "$work/club.ics" --dry-run) || fail "a dry run without a folder"
[ "$(head -n 1 <<<"$fresh")" = "Would add 53 entries, skip 1 (a dry run: nothing was written)." ] &&
    [ ! -e "$work/fresh" ] || fail "a dry run without a folder: $fresh"

real=$(diary_in --import-ics "$work/club.ics") || fail "the import failed: $real"
[ "$(sed 's/^Would add \(.*\), skip \(.*\) (a dry run: nothing was written)\./Added \1, skipped \2./' <<<"$dry")" = "$real" ] ||
    fail "the import's report is not the dry run's: $real"
choir=$(diary_in --list 400 | grep -c 'Choir')
[ "$choir" = 52 ] || fail "a weekly event without end gave $choir entries"
[ "$(diary_in --list 400 | grep 'Choir' | tail -n 1)" = "Wed 01/12/27    Choir" ] || fail "the last Wednesday"

undo=$(diary_in --undo-import) || fail "the undo failed: $undo"
[ "$undo" = "Removed 52 entries of the last import to the trash." ] || fail "the undo: $undo"
[ "$(snapshot)" = "$before" ] || fail "the undo did not leave the diary as before: $(ls -a "$diary")"
[ "$(ls "$XDG_DATA_HOME/Trash/files" | wc -l)" = 52 ] || fail "the trash does not hold the entries"
[ "$(diary_in --undo-import)" = "There is no import to undo." ] || fail "a second undo"

# An entry changed since the import stays.
diary_in --import-ics "$work/club.ics" >/dev/null || fail "the second import"
write_entry DAT20803.000 "Choir at seven" 16/12/26 DAT20803.000 0 0
undo=$(diary_in --undo-import) || fail "the undo of the second import: $undo"
grep -q '^  left DAT20803.000: it changed since the import$' <<<"$undo" || fail "the changed entry: $undo"
[ "$(diary_in --list 30 | grep -c Choir)" = 1 ] || fail "the changed entry was taken"
echo "PASS"
