#!/usr/bin/env bash
# The diary started from the desktop's autostart with "-a 1" shows the week, closes itself after
# about a second, and on closing saves its settings and purges the store as a user expects:
# expired entries go, passed yearly entries are carried over, and nothing outside the store's
# own files is ever touched, whatever the files hold.
source "$(dirname "$0")/lib.sh"
start_display

# Sunday 6 December 2026 is day 20793.
write_entry DAT20790.000 "three days ago" 03/12/26 DAT20790.000 0 0
write_entry DAT20791.000 "two days ago" 04/12/26 DAT20791.000 0 0
write_entry DAT20792.000 "birthday" 05/12/26 DAT20792.000 1 1
write_entry DAT20794.000 "tomorrow" 07/12/26 DAT20794.000 0 0
write_entry DAT20790.010 "an eleventh slot" 03/12/26 DAT20790.010 0 0
write_entry DAT20700.000 "hostile" 99/99/99 ../victim 1 0
write_entry DAT20701.000 "also hostile" 05/12/26 "..//victim" 1 0
printf 'short' >"$diary/DAT20702.000"
head -c 5000 /dev/urandom >"$diary/DAT20703.000"
write_entry TEMPDAT.000 "scratch" 06/12/26 DAT20793.000 0 0
echo "keep me" >"$work/victim"
echo "keep me" >"$XDG_DATA_HOME/victim"  # where ../victim leads from the diary
echo "keep me" >"$diary/DAT20600.txt"
# Keeping no old entries is the user's choice here: without a settings file, a first close keeps them.
printf '[Daybrook]\nKeepCode=0\n' >"$config/WYNDALE.INI"

run_until_closed "2026-12-06 10:00:00" -a 1
[ "$run_ms" -ge 900 ] || fail "closed after $run_ms ms, before its second was up"

expect_no_file "$diary/DAT20790.000"
expect_file "$diary/DAT20791.000"
expect_file "$diary/DAT20794.000"
expect_file "$diary/DAT20790.010"
expect_no_file "$diary/DAT20700.000"
expect_no_file "$diary/DAT20702.000"
expect_no_file "$diary/DAT20703.000"
expect_no_file "$diary/TEMPDAT.000"
expect_file "$diary/DAT20600.txt"
for victim in "$work/victim" "$XDG_DATA_HOME/victim"; do
    [ "$(cat "$victim")" = "keep me" ] || fail "a file outside the store was changed: $victim"
done
expect_file "$work/victim"

# The yearly entry of yesterday is marked renewed and has its copy a year on (day 21157).
[ "$(yearly_of DAT20792.000)" = "-1" ] || fail "the passed yearly entry was not marked renewed"
expect_file "$diary/DAT21157.000"
[ "$(yearly_of DAT21157.000)" = "1" ] || fail "next year's copy is not yearly"
[ "$(od -An -c -j 81 -N 8 "$diary/DAT21157.000" | tr -d ' ')" = "05/12/27" ] || fail "next year's date"
[ "$(stat -c %s "$diary/DAT21157.000")" = "111" ] || fail "next year's copy is not 111 bytes"

settings="$config/WYNDALE.INI"
expect_file "$settings"
grep -q '^Sounds *= *1' "$settings" || fail "Sounds not saved: $(cat "$settings")"
grep -q '^KeepCode *= *0' "$settings" || fail "KeepCode not saved"
grep -q '^LastSet *= *20793' "$settings" || fail "LastSet not saved"
# Told to work in a folder that no longer exists, the diary says so in one line and ends with 1.
mkdir "$work/gone"
status=0
(cd "$work/gone" && rmdir "$work/gone" && exec "$daybrook_binary" --folder . -a 1) >"$work/gone.log" 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "started in a removed folder, the diary ended with $status"
[ "$(wc -l <"$work/gone.log")" -eq 1 ] && grep -q 'cannot work in the folder \.' "$work/gone.log" ||
    fail "no clear line about the removed folder: $(cat "$work/gone.log")"

# The diary makes its own folder, the user's alone, when it is missing; --own-folder, which older
# autostart entries pass, means the same. Where that folder cannot be made it says so in one line.
XDG_DATA_HOME="$work/fresh" run_until_closed "2026-12-06 10:00:00" --own-folder -a 1
[ "$(stat -c %a "$work/fresh/daybrook")" = "700" ] || fail "the own folder is not the user's alone"
expect_file "$work/fresh/daybrook/.daybrook.lock"
status=0
XDG_DATA_HOME="$work/victim" "$daybrook_binary" -a 1 >"$work/own.log" 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "without its own folder, the diary ended with $status"
[ "$(wc -l <"$work/own.log")" -eq 1 ] && grep -q 'cannot make its diary folder' "$work/own.log" ||
    fail "no clear line about the own folder: $(cat "$work/own.log")"
# Without a desktop to show its window on, the diary says so in one line and ends with 1.
status=0
(cd "$diary" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$daybrook_binary") >"$work/nodisplay.log" 2>&1 ||
    status=$?
[ "$status" -eq 1 ] || fail "without a display the diary ended with $status"
[ "$(wc -l <"$work/nodisplay.log")" -eq 1 ] && grep -q 'DISPLAY' "$work/nodisplay.log" ||
    fail "no clear line about the missing display: $(cat "$work/nodisplay.log")"
echo "PASS"
