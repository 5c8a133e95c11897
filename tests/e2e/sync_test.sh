#!/usr/bin/env bash
# Two diaries ("the desktop" and "the laptop") kept in step through a real CalDAV server
# (Radicale on 127.0.0.1) by vdirsyncer and `daybrook --sync`, and a third client ("the phone")
# that writes to the server with HTTP PUT.
source "$(dirname "$0")/lib.sh"

for tool in radicale vdirsyncer curl; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed" >&2; exit 77; }
done
start_display

desktop="$diary"
laptop="$work/laptop"
mkdir -p "$laptop"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
server="http://127.0.0.1:$port"
calendar="$server/diary/calendar/"
# Without authentication Radicale takes any name given as the user, who owns the collections under it.
login=(-u diary:diary)
library=$(dpkg -L libfaketime 2>/dev/null | grep -m1 '/libfaketime.so.1$') || fail "libfaketime is missing"

radicale --config "" --server-hosts "127.0.0.1:$port" --auth-type none --rights-type owner_only \
    --storage-filesystem-folder "$work/radicale" >"$work/radicale.log" 2>&1 &
radicale_pid=$!
pids+=("$radicale_pid")
for _ in $(seq 100); do curl -s -o /dev/null "$server/" && break; sleep 0.1; done
curl -sf "${login[@]}" -X MKCALENDAR "$calendar" >/dev/null || fail "Radicale made no calendar: $(cat "$work/radicale.log")"

# vdirsyncer's configuration for one diary: its vdir paired with the server's calendar.
configure() {
    local name="$1"
    mkdir -p "$work/$name/vdir" "$work/$name/status"
    cat >"$work/$name/config" <<CONFIG
[general]
status_path = "$work/$name/status/"

[pair diary]
a = "here"
b = "server"
collections = null

[storage here]
type = "filesystem"
path = "$work/$name/vdir/"
fileext = ".ics"

[storage server]
type = "caldav"
url = "$calendar"
username = "diary"
password = "diary"
CONFIG
    vdirsyncer -c "$work/$name/config" discover >/dev/null 2>&1 </dev/null || fail "vdirsyncer cannot discover for $name"
}
configure desktop
configure laptop

# `daybrook --sync` of one diary with its vdir, on a given day.
sync_diary() {
    local folder="$1" name="$2" clock="${3:-2026-12-06 10:00:00}"
    FAKETIME="@$clock" LD_PRELOAD="$library" "$daybrook_binary" --folder "$folder" --sync "$work/$name/vdir" \
        >"$work/$name.out" 2>&1 || fail "the $name's sync failed: $(cat "$work/$name.out")"
}
vdirsyncer_sync() { vdirsyncer -c "$work/$1/config" sync >"$work/$1.vdirsyncer" 2>&1; }
# The desktop and then the laptop each sync, vdirsyncer, sync; then the desktop once more.
round() {
    local clock="${1:-2026-12-06 10:00:00}"
    for name in desktop laptop desktop; do
        local folder="$desktop"
        [ "$name" = laptop ] && folder="$laptop"
        sync_diary "$folder" "$name" "$clock"
        vdirsyncer_sync "$name" || fail "vdirsyncer failed for $name: $(cat "$work/$name.vdirsyncer")"
        sync_diary "$folder" "$name" "$clock"
    done
}
# Each entry of a diary as "DATnnnnn.nnn memo", in name order.
entries_of() {
    local name
    for name in $(cd "$1" && ls DAT?????.00? 2>/dev/null); do
        echo "$name $(head -c 81 "$1/$name" | tr '\0' '\n' | head -n 1)"
    done
}
# How many events on the server have this summary, its folded lines joined again.
server_events() {
    local count=0 file text
    while IFS= read -r file; do
        text=$(tr -d '\r' <"$file" | sed -e ':a;N;$!ba;s/\n //g')
        grep -qx "SUMMARY:$1" <<<"$text" && count=$((count + 1))
    done < <(find "$work/radicale/collection-root/diary/calendar" -name '*.ics' -not -path '*/.Radicale.cache/*')
    echo "$count"
}
# The phone's event; a fourth argument adds a line (a repeat rule).
put_event() {
    local uid="$1" summary="$2" day="$3" more="${4:+$4\r\n}"
    printf "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VEVENT\r\nUID:%s\r\nDTSTAMP:20261201T090000Z\r\nDTSTART;VALUE=DATE:%s\r\nSUMMARY:%s\r\n${more}END:VEVENT\r\nEND:VCALENDAR\r\n" \
        "$uid" "$day" "$summary" | curl -sf "${login[@]}" -X PUT -H 'Content-Type: text/calendar' --data-binary @- "$calendar$uid.ics" \
        >/dev/null || fail "the phone could not PUT $uid"
}

# An entry made on the desktop reaches the laptop; so does a yearly one.
write_entry DAT20797.000 "Dentist" "10/12/26" DAT20797.000 0 0
write_entry DAT20794.000 "Anna" "07/12/26" DAT20794.000 1 1
round
[ "$(entries_of "$laptop")" = "$(printf 'DAT20794.000 Anna\nDAT20797.000 Dentist')" ] ||
    fail "the laptop holds $(entries_of "$laptop")"
[ "$(server_events Dentist)" -eq 1 ] || fail "the server holds $(server_events Dentist) Dentist events"

# The phone's events reach both; an 80-character summary stays whole on the server.
long=$(printf 'L%.0s' $(seq 80))
put_event phone-call "Call the plumber" 20261211
put_event phone-long "$long" 20261212
round
for folder in "$desktop" "$laptop"; do
    held=$(entries_of "$folder")
    grep -qx 'DAT20798.000 Call the plumber' <<<"$held" || fail "no phone event in $folder: $held"
    grep -qx "DAT20799.000 ${long:0:60}" <<<"$held" || fail "no long phone event in $folder: $held"
done
[ "$(server_events "$long")" -eq 1 ] || fail "the 80-character summary did not stay whole on the server"

# Deleted on the laptop (as Delete Entry leaves it), it is gone on the desktop, into its trash.
rm "$laptop/DAT20797.000"
round
expect_no_file "$desktop/DAT20797.000"
expect_file "$XDG_DATA_HOME/Trash/files/DAT20797.000"
[ "$(server_events Dentist)" -eq 0 ] || fail "the deleted entry's event is still on the server"

# Both diaries close after Anna's day and carry her over to next year: still one event.
for folder in "$desktop" "$laptop"; do
    FAKETIME="@2026-12-09 10:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 LD_PRELOAD="$library" \
        timeout 20 "$daybrook_binary" --folder "$folder" -a 1 >"$work/close.log" 2>&1 || fail "the close failed: $(cat "$work/close.log")"
    expect_file "$folder/DAT21159.000"
done
round "2026-12-09 10:00:00"
[ "$(server_events Anna)" -eq 1 ] || fail "the server holds $(server_events Anna) events for Anna"
for folder in "$desktop" "$laptop"; do
    held=$(entries_of "$folder")
    [ "$(grep -c '^DAT21159.00. Anna$' <<<"$held")" -eq 1 ] || fail "$folder holds $held"
done

# Every event on the server, by its file.
server_listing() { find "$work/radicale/collection-root/diary/calendar" -name '*.ics' -not -path '*/.Radicale.cache/*' | sort; }

# The desktop's record of its last sync lost: the next round pairs instead of sending again.
events_before=$(server_listing)
rm "$desktop/.daybrook-sync"
round "2026-12-09 10:00:00"
[ "$(server_listing)" = "$events_before" ] || fail "a lost sync state changed the server: $(server_listing)"
[ "$(server_events Anna)" -eq 1 ] || fail "the server holds $(server_events Anna) events for Anna after a lost state"

# A weekly event without end from the phone still comes a year on: a third machine, its clock a
# year ahead and its diary closed meanwhile, holds the swims of the year after.
put_event phone-swim "Swim" 20261207 "RRULE:FREQ=WEEKLY"
tablet="$work/tablet"
mkdir -p "$tablet"
configure tablet
vdirsyncer_sync tablet || fail "vdirsyncer failed for the tablet: $(cat "$work/tablet.vdirsyncer")"
sync_diary "$tablet" tablet "2026-12-09 10:00:00"
FAKETIME="@2027-12-20 10:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 LD_PRELOAD="$library" \
    timeout 20 "$daybrook_binary" --folder "$tablet" -a 1 >"$work/close.log" 2>&1 || fail "the close failed: $(cat "$work/close.log")"
sync_diary "$tablet" tablet "2027-12-20 10:00:00"
# Monday 11 December 2028 (day 21529) lies within a year of the later day, past the first year.
expect_file "$tablet/DAT21529.000"
[ "$(entries_of "$tablet" | grep -c ' Swim$')" -ge 50 ] || fail "the tablet holds $(entries_of "$tablet")"

# The server down: vdirsyncer fails, and the diaries stay as they were.
before_desktop=$(entries_of "$desktop")
before_laptop=$(entries_of "$laptop")
kill "$radicale_pid"
wait "$radicale_pid" 2>/dev/null || true
for name in desktop laptop; do
    folder="$desktop"
    [ "$name" = laptop ] && folder="$laptop"
    sync_diary "$folder" "$name" "2026-12-09 10:00:00"
    ! vdirsyncer_sync "$name" || fail "vdirsyncer did not notice the server was down"
    sync_diary "$folder" "$name" "2026-12-09 10:00:00"
    grep -q '^sent 0, received 0, removed 0 here, removed 0 there$' "$work/$name.out" || fail "$(cat "$work/$name.out")"
done
[ "$(entries_of "$desktop")" = "$before_desktop" ] || fail "the desktop changed while the server was down"
[ "$(entries_of "$laptop")" = "$before_laptop" ] || fail "the laptop changed while the server was down"

# The open window shows what a sync adds, without being touched.
start_diary "2026-12-09 10:00:00"
window=$(diary_window)
await_picture "$window" "$work/before.png" 0000FF 301 "the week page was not shown"
before_red=$(pixels_of "$work/before.png" FF0000)
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VEVENT\r\nUID:gig\r\nDTSTAMP:20261201T090000Z\r\nDTSTART;VALUE=DATE:20261210\r\nSUMMARY:Concert\r\nCATEGORIES:Red Letter Day\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' \
    >"$work/desktop/vdir/gig.ics"
sync_diary "$desktop" desktop "2026-12-09 10:00:00"
await_picture "$window" "$work/after.png" FF0000 $((before_red + 1)) "the window did not show the red-letter entry the sync added"
[ -n "${DAYBROOK_SCREENSHOTS:-}" ] && cp "$work/before.png" "$work/after.png" "$DAYBROOK_SCREENSHOTS/"
close_window "$window"
wait_for_exit 60  # a generous bound: the wait ends as soon as the diary does
echo "PASS"
