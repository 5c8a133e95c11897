# The Debian package (scripts/package runs cpack on a release build): everything the install puts
# under the prefix, moved to /usr, with the copyright and changelog every Debian package carries.

set(DAYBROOK_PACKAGE_MAINTAINER "Daybrook maintainers <daybrook@users.noreply.github.com>"
    CACHE STRING "Name and address in the Maintainer field of the Debian package")

# The version has no Debian revision: the package is built here, from this tree, so Debian counts
# it as native and wants its changelog as changelog.gz.
set(changelog_gz "${CMAKE_CURRENT_BINARY_DIR}/changelog.gz")
add_custom_command(OUTPUT "${changelog_gz}"
    COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" "${CMAKE_CURRENT_LIST_DIR}/debian/changelog" "${changelog_gz}"
    DEPENDS "${CMAKE_CURRENT_LIST_DIR}/debian/changelog" VERBATIM)
add_custom_target(daybrook_changelog ALL DEPENDS "${changelog_gz}")
install(FILES "${CMAKE_CURRENT_LIST_DIR}/debian/copyright" "${changelog_gz}" DESTINATION share/doc/daybrook)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME daybrook)
set(CPACK_PACKAGE_VENDOR "Daybrook maintainers")
set(CPACK_PACKAGE_CONTACT "${DAYBROOK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "personal diary of short memos with the week at a glance")
set(CPACK_PACKAGE_DESCRIPTION [[
Daybrook keeps short memos, up to 60 characters each, against dates up to
31/12/2050, and shows yesterday, today and the next six days in one window,
with an alarm sound when something is due. Entries can be red-letter days and
can repeat every year, every week or every day.
Started from the desktop's autostart, it shows the week for a few seconds at
login and closes itself. In a terminal it adds an entry (--add), lists the
coming days' entries and searches them, as lines or JSON, and exports and
imports iCalendar files, an import being undone with --undo-import.
With --sync it keeps the diary in step, both ways, with a vdir (a folder of
iCalendar files, one per event) that vdirsyncer keeps in step with a CalDAV
server, where a phone and other machines meet the same entries.
]])
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program and its calendar module link, as dpkg-shlibdeps finds them, and
# libcanberra, which the program opens itself when the first alarm sounds.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcanberra0")
# Without the desktop's sound theme only the user's own sound files play.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "sound-theme-freedesktop")
# Syncing with phones and calendar servers goes through vdirsyncer.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "vdirsyncer")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
