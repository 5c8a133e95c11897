#!/usr/bin/env bash
# "cmake --install" of the build puts a desktop install into a fresh prefix: the program with the
# calendar module it finds there, the manual page (read by groff without a warning), the launcher
# and the autostart example (both valid, both starting the diary), the software-centre metadata
# (valid) and the icon at each of its sizes. Skips (77) where the validators are not installed.
set -euo pipefail
build="$1"
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed" >&2; exit 77; }
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

[ -x "$prefix/bin/daybrook" ] || fail "no program in bin"
[ ! -e "$prefix/share/daybrook" ] || fail "installed into the folder that holds a user's entries under ~/.local"
# The calendar commands find their module where the install put it.
mkdir "$prefix/diary"
(cd "$prefix/diary" && "$prefix/bin/daybrook" --folder . --export-ics -) | grep -q '^BEGIN:VCALENDAR' ||
    fail "the installed program cannot write a calendar file"
launcher="$prefix/share/applications/daybrook.desktop"
autostart="$prefix/share/doc/daybrook/examples/daybrook-autostart.desktop"
metainfo="$prefix/share/metainfo/io.github.daybrook.Daybrook.metainfo.xml"
sync_units=("$prefix/share/doc/daybrook/examples/daybrook-sync.service" "$prefix/share/doc/daybrook/examples/daybrook-sync.timer")
for file in "$launcher" "$autostart" "$metainfo" "${sync_units[@]}"; do [ -f "$file" ] || fail "$file was not installed"; done
if command -v systemd-analyze >/dev/null; then
    # The units as systemd reads them (a user manager reads them alike, but needs a session).
    systemd-analyze verify "${sync_units[@]}" 2>"$prefix/verify.log" ||
        fail "the sync units are not valid: $(cat "$prefix/verify.log")"
fi

page="$prefix/share/man/man1/daybrook.1.gz"
[ -f "$page" ] || fail "no manual page"
if command -v groff >/dev/null; then
    # Every warning counts: a line that roff takes for a request, an unknown escape or macro.
    warnings=$(zcat "$page" | groff -man -ww -z -Tutf8 2>&1) || fail "groff cannot read the manual page: $warnings"
    [ -z "$warnings" ] || fail "the manual page has faults: $warnings"
fi

desktop-file-validate "$launcher" "$autostart" || fail "a desktop file is not valid"
grep -qx 'Exec=daybrook' "$launcher" || fail "the launcher does not start the diary"
grep -qx 'Exec=daybrook -a 5 30' "$autostart" || fail "the autostart example does not show the week"
# Warnings and notes count as failures too; pedantic hints do not.
appstreamcli validate --no-net --strict "$metainfo" || fail "the metadata is not valid"
# The tree as a software centre reads it: the metadata's launcher is installed beside it.
appstreamcli validate-tree --no-net --strict "$prefix" || fail "the metadata does not match the install"

icons="$prefix/share/icons/hicolor"
grep -q '<svg' "$icons/scalable/apps/daybrook.svg" || fail "no scalable icon"
for size in 32 256; do
    measured=$(identify -format '%m %w %h' "$icons/${size}x$size/apps/daybrook.png") || fail "no $size px icon"
    [ "$measured" = "PNG $size $size" ] || fail "the $size px icon is $measured"
done
echo "PASS"
