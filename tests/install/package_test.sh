#!/usr/bin/env bash
# scripts/package builds a Debian package that lintian accepts, that holds the desktop install
# under /usr and nothing else, that depends on what the program needs, and whose program runs
# and finds its calendar module when the package is unpacked anywhere. Skips (77) where the
# Debian packaging tools are not installed.
set -euo pipefail
root="$1"
version="$2"
for tool in dpkg-deb dpkg-shlibdeps lintian file; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed" >&2; exit 77; }
done
fail() { echo "FAIL: $*" >&2; exit 1; }
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT

# The build's lines go to the log as well; the last line names the package.
deb=$("$root/scripts/package" | tee /dev/stderr | tail -n 1)
[ "$deb" = "$root/build/package/daybrook_${version}_$(dpkg --print-architecture).deb" ] || fail "the package is $deb"

expected="/usr/bin/daybrook
/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/daybrook/daybrook-ics.so
/usr/share/applications/daybrook.desktop
/usr/share/doc/daybrook/changelog.gz
/usr/share/doc/daybrook/copyright
/usr/share/doc/daybrook/examples/daybrook-autostart.desktop
/usr/share/icons/hicolor/256x256/apps/daybrook.png
/usr/share/icons/hicolor/32x32/apps/daybrook.png
/usr/share/icons/hicolor/scalable/apps/daybrook.svg
/usr/share/man/man1/daybrook.1.gz
/usr/share/metainfo/io.github.daybrook.Daybrook.metainfo.xml"
files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./|/|' | sort)
[ "$files" = "$expected" ] || fail "the package holds other files: $(diff <(echo "$expected") <(echo "$files"))"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Version)" = "$version" ] || fail "the package's version is $(field Version)"
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
for needed in libqt6widgets6 libical3 libcanberra0 libc6; do
    grep -qx "$needed" <<<"$depends" || fail "the package does not depend on $needed: $(field Depends)"
done
[ "$(field Suggests)" = vdirsyncer ] || fail "the package does not suggest vdirsyncer"

# The changelog's newest entry and the software centre's newest release are this version.
dpkg-deb -x "$deb" "$unpacked"
zcat "$unpacked/usr/share/doc/daybrook/changelog.gz" | sed -n 1p | grep -q "^daybrook ($version) " ||
    fail "the changelog's newest entry is not $version"
grep -m 1 '<release ' "$unpacked/usr/share/metainfo/io.github.daybrook.Daybrook.metainfo.xml" |
    grep -q "version=\"$version\"" || fail "the metadata's newest release is not $version"

# Warnings count as failures as well as errors.
lintian --fail-on error,warning "$deb" >&2 || fail "lintian finds fault with the package"

program="$unpacked/usr/bin/daybrook"
[ "$("$program" --version)" = "daybrook $version" ] || fail "the packaged program does not run"
mkdir "$unpacked/diary"
# grep reads the whole calendar, so that the program never writes into a closed pipe.
(cd "$unpacked/diary" && "$program" --export-ics -) | grep '^BEGIN:VCALENDAR' >/dev/null ||
    fail "the packaged program does not find its calendar module"
echo "PASS"
