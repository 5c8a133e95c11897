#!/usr/bin/env bash
# The commands that print and end, run as a user runs them in a terminal: no display, typed in a
# folder that is not the diary's, the clock at Sunday 6 December 2026. The coming days and a
# search, as lines and as JSON; iCalendar out and back into another diary (--folder), with file
# names taken from the shell's folder; a second import that adds nothing; a broken file that adds
# nothing and says why; nothing purged or renewed by any of them; then adding entries with
# --add in each form of date, and its refusals.
source "$(dirname "$0")/lib.sh"
unset DISPLAY WAYLAND_DISPLAY
export XDG_CONFIG_HOME="$config"
mkdir "$work/elsewhere"
library=$(dpkg -L libfaketime 2>/dev/null | grep -m1 '/libfaketime.so.1$') || fail "libfaketime is missing"

# Runs the diary from a folder with the clock set; its standard output is the function's.
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
[ "$(diary_in "$work/elsewhere" --list)" = "$expected_list" ] || fail "--list: $(diary_in "$work/elsewhere" --list)"
[ -z "$(diary_in "$work/elsewhere" --list 1 | grep Birthday)" ] || fail "--list 1 shows tomorrow"
[ -z "$(diary_in "$work/elsewhere" --list 7 | grep 'Far ahead')" ] || fail "--list 7 shows a day four weeks on"
diary_in "$work/elsewhere" --list 30 | grep -q 'Sat 02/01/27    Far ahead' || fail "--list 30 misses a later entry"
json=$(diary_in "$work/elsewhere" --list 2 --json | tr -d ' \n')
[ "$json" = '[{"date":"2026-12-06","red_letter":true,"slot":0,"text":"Anniversarydinner","yearly":false},{"date":"2026-12-06","red_letter":false,"slot":2,"text":"Dentist;atten,sharp","yearly":false},{"date":"2026-12-07","red_letter":false,"slot":0,"text":"Birthdayparty","yearly":true}]' ] ||
    fail "--json: $json"
[ "$(diary_in "$work/elsewhere" --list 0 2>&1 >/dev/null)" = "DAYS must be a number of days, 1 or more." ] || fail "--list 0"
[ "$(diary_in "$work/elsewhere" --search PARTY)" = "Mon 07/12/26  * Birthday party" ] || fail "--search folds case"
[ -z "$(diary_in "$work/elsewhere" --search PARTY --case-sensitive)" ] || fail "--search --case-sensitive"
diary_in "$work/elsewhere" --version | grep -q '^daybrook [0-9]' || fail "--version"
diary_in "$work/elsewhere" --help | grep -q -- '--export-ics' || fail "--help"

# A relative file name is the shell's: the export lands beside the shell, never in the diary.
# A new export is as private as the diary, whatever the umask.
(umask 000 && diary_in "$work" --export-ics diary.ics)
[ ! -e "$diary/diary.ics" ] || fail "the export went into the diary's folder"
[ "$(stat -c %a "$work/diary.ics")" = 600 ] || fail "the export is not private: $(stat -c %a "$work/diary.ics")"
grep -q 'SUMMARY:Dentist\\; at ten\\, sharp' "$work/diary.ics" || fail "the export does not escape: $(cat "$work/diary.ics")"
mkdir "$work/copy"
# The passed yearly entry comes back as its next year's day. --folder goes before or after.
diary_in "$work/copy" --folder . --import-ics ../diary.ics >"$work/import.log"
[ "$(head -n 1 "$work/import.log")" = "Added 5 entries, skipped 0." ] ||
    fail "the import into an empty diary: $(cat "$work/import.log")"
[ "$(diary_in "$work" --list 30 --folder copy)" = "$(diary_in "$work/elsewhere" --list 30)" ] ||
    fail "the round trip changed the entries"
[ "$(diary_in "$work" --import-ics diary.ics --folder=copy)" = "Added 0 entries, skipped 5.
  5 events are in the diary already" ] || fail "a second import added entries, or named each event"
# --until bounds a repeat without end: a weekly event from Monday gives four Mondays this year.
printf 'BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:w1\r\nDTSTART;VALUE=DATE:20261207\r\nRRULE:FREQ=WEEKLY\r\nSUMMARY:Choir\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' >"$work/weekly.ics"
[ "$(diary_in "$work" --folder copy --import-ics weekly.ics --until 31/12/26 --dry-run | head -n 2)" = "Would add 4 entries, skip 0 (a dry run: nothing was written).
  repeats \"Choir\": 4 occurrences up to 31/12/2026 (it repeats without end)" ] ||
    fail "--until: $(diary_in "$work" --folder copy --import-ics weekly.ics --until 31/12/26 --dry-run)"
status=0
diary_in "$work" --folder copy --import-ics weekly.ics --until 05/12/26 2>"$work/until.log" >/dev/null || status=$?
[ "$status" -eq 2 ] && grep -q -- '--until 05/12/26: Past entries are not allowed!' "$work/until.log" ||
    fail "a past --until: $status $(cat "$work/until.log")"
# What the diary cannot keep of an event is said, counted, and named with --verbose.
printf 'BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:t1\r\nDTSTART:20261210T090000Z\r\nSUMMARY:Stand-up \xce\xa9\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' >"$work/timed.ics"
[ "$(diary_in "$work" --folder copy --import-ics timed.ics --dry-run | sed -n 2p)" = \
    "  altered: 1 event lost its time of day; 1 event had characters the diary cannot hold shown as ? (--verbose names them)" ] ||
    fail "the altered events: $(diary_in "$work" --folder copy --import-ics timed.ics --dry-run)"
diary_in "$work" --folder copy --import-ics timed.ics --dry-run --verbose | grep -q '^  altered "Stand-up Ω": its time of day was dropped$' ||
    fail "--verbose: $(diary_in "$work" --folder copy --import-ics timed.ics --dry-run --verbose)"
printf 'BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:cut off' >"$work/broken.ics"
status=0
diary_in "$work" --folder copy --import-ics broken.ics >/dev/null 2>"$work/broken.log" || status=$?
[ "$status" -eq 1 ] && grep -q 'added nothing' "$work/broken.log" || fail "a broken file: $status $(cat "$work/broken.log")"

# Standard input is read to its end, however slowly a pipe gives it.
head -n 8 "$work/diary.ics" >"$work/first.ics"
tail -n +9 "$work/diary.ics" >"$work/rest.ics"
mkdir "$work/piped"
(cat "$work/first.ics"; sleep 1; cat "$work/rest.ics") | diary_in "$work" --folder piped --import-ics - >"$work/pipe.log"
[ "$(head -n 1 "$work/pipe.log")" = "Added 5 entries, skipped 0." ] || fail "a slow pipe: $(cat "$work/pipe.log")"

# A mistyped option is refused with the usage, even with a display, and opens no window.
status=0
DISPLAY=:77 diary_in "$work/elsewhere" --lsit 2>"$work/stray.log" || status=$?
[ "$status" -eq 2 ] && grep -q -- 'does not know the option --lsit' "$work/stray.log" && grep -q '^Usage: daybrook' "$work/stray.log" ||
    fail "a mistyped option: $status $(cat "$work/stray.log")"

[ "$(cd "$diary" && md5sum DAT*)" = "$before" ] || fail "a printing command changed the diary"
[ ! -e "$diary/.daybrook.lock" ] || fail "a printing command ran the close"
status=0
diary_in "$work" --folder missing --list 2>"$work/missing.log" || status=$?
[ "$status" -eq 1 ] && grep -q 'cannot work in the folder missing' "$work/missing.log" ||
    fail "a missing --folder: $status $(cat "$work/missing.log")"
[ ! -e "$work/missing" ] || fail "a mistyped --folder was made"

# Help and version end at once, with or without a display, and leave nothing behind.
for option in -h --help -v --version; do
    DISPLAY=:77 diary_in "$work/elsewhere" "$option" >"$work/out.log" || fail "$option ended with $?"
    [ -s "$work/out.log" ] || fail "$option printed nothing"
done
help=$(diary_in "$work/elsewhere" --help)
for option in --folder --add --red-letter --yearly -h, -v,; do
    grep -q -- "$option" <<<"$help" || fail "--help does not list $option"
done
! grep -q -- '--help-all' <<<"$help" || fail "--help lists --help-all"

# --add: each form of date, the entry printed as --list prints it. A day name is the next such
# day, today included.
added() { diary_in "$work/elsewhere" --add "$@"; }
[ "$(added 08/12/26 "Plain date")" = "Tue 08/12/26    Plain date" ] || fail "--add a plain date"
[ "$(added sun "Today by name" --red-letter)" = "Sun 06/12/26 !  Today by name" ] || fail "--add today's name"
[ "$(added Wed Several words, joined)" = "Wed 09/12/26    Several words, joined" ] || fail "--add a day name"
[ "$(added 3 "Three days on, 3€")" = "Wed 09/12/26    Three days on, 3€" ] || fail "--add days ahead"
[ "$(added 25/12/26 Christmas --yearly --json | tr -d ' \n')" = \
    '[{"date":"2026-12-25","red_letter":false,"slot":0,"text":"Christmas","yearly":true}]' ] || fail "--add --json"
[ "$(diary_in "$work/elsewhere" --list 30 | grep -c 'Wed 09/12/26')" -eq 2 ] || fail "--add wrote over an entry"
# With HOME alone, the own folder is made under it, the user's alone.
[ "$(env -u XDG_DATA_HOME HOME="$work/home" FAKETIME="@2026-12-06 10:00:00" LD_PRELOAD="$library" \
    "$daybrook_binary" --add 1 "At home")" = "Mon 07/12/26    At home" ] || fail "--add with HOME alone"
[ "$(stat -c %a "$work/home/.local/share/daybrook")" = "700" ] && [ -e "$work/home/.local/share/daybrook/DAT20794.000" ] ||
    fail "the own folder under HOME"

for slot in 0 1 2 3 4 5 6 7 8 9; do write_entry "DAT20798.00$slot" "busy" 11/12/26 "DAT20798.00$slot" 0 0; done
files=$(ls -A "$diary" | wc -l)
long=$(printf 'x%.0s' $(seq 61))
while IFS='|' read -r expected_status message arguments; do
    status=0
    eval "diary_in \"\$work/elsewhere\" --add $arguments" >"$work/out.log" 2>"$work/err.log" || status=$?
    [ "$status" -eq "$expected_status" ] && [ "$(cat "$work/err.log")" = "$message" ] && [ ! -s "$work/out.log" ] ||
        fail "--add $arguments: status $status, $(cat "$work/err.log")"
done <<EOF_CASES
1|The date given has already past!|05/12/26 "Yesterday"
1|There is no room for more entries on 11/12/26: a day holds up to ten.|11/12/26 "One too many"
1|Unable to recognise the Day Name|frog "Not a day"
1|Must be at least 1 day ahead!|-3 "Backwards"
1|That is after 31/12/50, the last date the diary holds!|9999 "Too far"
1|You can not have the 29th of Feb as a yearly repeat date!|29/02/28 "Leap" --yearly
1|Only a date typed as dd/mm/yy can repeat every year!|tue "Weekly" --yearly
1|No Entry has been made for this Date!|08/12/26 "  ... "
1|The entry holds a character that the diary cannot store: "Ω" (U+03A9)|08/12/26 "Ωmega"
1|The entry has 61 characters; the diary holds 60 at most.|08/12/26 "$long"
2|--add needs a date and the entry: daybrook --add DATE MEMO|08/12/26
EOF_CASES
[ "$(ls -A "$diary" | wc -l)" -eq "$files" ] || fail "a refused --add wrote a file"
echo "PASS"
