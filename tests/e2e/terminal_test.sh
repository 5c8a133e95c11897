#!/usr/bin/env bash
# The commands that print and end, run as a user runs them in a terminal: no display, a diary
# folder, the clock at Sunday 6 December 2026. The coming days and a search, as lines and as
# JSON; iCalendar out and back into an empty diary; a second import that adds nothing; a broken
# file that adds nothing and says why; and nothing purged or renewed by any of them.
source "$(dirname "$0")/lib.sh"
unset DISPLAY WAYLAND_DISPLAY
export XDG_CONFIG_HOME="$config" XDG_DATA_HOME="$work/data"
library=$(dpkg -L libfaketime 2>/dev/null | grep -m1 '/libfaketime.so.1$') || fail "libfaketime is missing"

# Runs the diary in a folder with the clock set; its standard output is the function's.
diary_in() {
    local folder="$1"
    shift
    (cd "$folder" && FAKETIME="@2026-12-06 10:00:00" LD_PRELOAD="$library" exec "$daybrook_binary" "$@")
}

write_entry DAT20790.000 "long past" 03/12/26 DAT20790.000 1 0
write_entry DAT20793.000 "Anniversary dinner" 06/12/26 DAT20793.000 0 1
write_entry DAT20793.002 "Dentist; at ten, sharp" 06/12/26 DAT20793.002 0 0
write_entry DAT20794.000 "Birthday party" 07/12/26 DAT20794.000 1 0
write_entry DAT20820.000 "Far ahead" 02/01/27 DAT20820.000 0 0
before=$(cd "$diary" && md5sum DAT*)

expected_list='Sun 06/12/26 !  Anniversary dinner
Sun 06/12/26    Dentist; at ten, sharp
Mon 07/12/26  * Birthday party'
[ "$(diary_in "$diary" --list)" = "$expected_list" ] || fail "--list: $(diary_in "$diary" --list)"
[ -z "$(diary_in "$diary" --list 1 | grep Birthday)" ] || fail "--list 1 shows tomorrow"
[ -z "$(diary_in "$diary" --list 7 | grep 'Far ahead')" ] || fail "--list 7 shows a day four weeks on"
diary_in "$diary" --list 30 | grep -q 'Sat 02/01/27    Far ahead' || fail "--list 30 misses a later entry"
json=$(diary_in "$diary" --list 2 --json | tr -d ' \n')
[ "$json" = '[{"date":"2026-12-06","red_letter":true,"slot":0,"text":"Anniversarydinner","yearly":false},{"date":"2026-12-06","red_letter":false,"slot":2,"text":"Dentist;atten,sharp","yearly":false},{"date":"2026-12-07","red_letter":false,"slot":0,"text":"Birthdayparty","yearly":true}]' ] ||
    fail "--json: $json"
[ "$(diary_in "$diary" --list 0 2>&1 >/dev/null)" = "DAYS must be a number of days, 1 or more." ] || fail "--list 0"
[ "$(diary_in "$diary" --search PARTY)" = "Mon 07/12/26  * Birthday party" ] || fail "--search folds case"
[ -z "$(diary_in "$diary" --search PARTY --case-sensitive)" ] || fail "--search --case-sensitive"
diary_in "$diary" --version | grep -q '^daybrook [0-9]' || fail "--version"
diary_in "$diary" --help | grep -q -- '--export-ics' || fail "--help"

(umask 000 && diary_in "$diary" --export-ics "$work/diary.ics")
[ "$(stat -c %a "$work/diary.ics")" = 600 ] || fail "the export is not private: $(stat -c %a "$work/diary.ics")"
grep -q 'SUMMARY:Dentist\\; at ten\\, sharp' "$work/diary.ics" || fail "the export does not escape: $(cat "$work/diary.ics")"
mkdir "$work/copy"
# The passed yearly entry comes back as its next year's day.
diary_in "$work/copy" --import-ics "$work/diary.ics" >"$work/import.log"
[ "$(head -n 1 "$work/import.log")" = "Added 5 entries, skipped 0." ] ||
    fail "the import into an empty diary: $(diary_in "$work/copy" --list 30)"
[ "$(diary_in "$work/copy" --list 30)" = "$(diary_in "$diary" --list 30)" ] || fail "the round trip changed the entries"
[ "$(diary_in "$work/copy" --import-ics "$work/diary.ics" | head -n 1)" = "Added 0 entries, skipped 5." ] ||
    fail "a second import added entries"
printf 'BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:cut off' >"$work/broken.ics"
status=0
diary_in "$work/copy" --import-ics "$work/broken.ics" >/dev/null 2>"$work/broken.log" || status=$?
[ "$status" -eq 1 ] && grep -q 'added nothing' "$work/broken.log" || fail "a broken file: $status $(cat "$work/broken.log")"

[ "$(cd "$diary" && md5sum DAT*)" = "$before" ] || fail "a printing command changed the diary"
[ ! -e "$diary/.daybrook.lock" ] || fail "a printing command ran the close"
echo "PASS"
