# Where the X screen-saver daemon looks: the program among its display modes,
# its entry for the settings program, and a man page; `cpack -G DEB` in the
# build directory makes a Debian package of them.
include(GNUInstallDirs)

install(TARGETS orbdrift RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
install(FILES res/linux/orbdrift.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)

# Debian wants man pages compressed, reproducibly (no name or time inside).
configure_file(res/linux/orbdrift.6 generated/orbdrift.6 @ONLY)
set(man_page ${CMAKE_CURRENT_BINARY_DIR}/generated/orbdrift.6.gz)
add_custom_command(OUTPUT ${man_page}
                   COMMAND gzip -9n -c ${CMAKE_CURRENT_BINARY_DIR}/generated/orbdrift.6 > ${man_page}
                   DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/generated/orbdrift.6)
add_custom_target(man_page ALL DEPENDS ${man_page})
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# Every Debian package carries its copyright and its changelog, the latter
# compressed like the man page. The changelog's newest entry names the
# package's version: a new version needs a new entry.
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/generated/changelog.gz)
add_custom_command(OUTPUT ${changelog}
                   COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/res/linux/changelog > ${changelog}
                   DEPENDS res/linux/changelog)
add_custom_target(changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} res/linux/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME orbdrift)
set(CPACK_PACKAGE_VENDOR orbdrift)
set(CPACK_PACKAGE_CONTACT "orbdrift maintainers <orbdrift@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "OpenGL screen saver: inside a lit, slowly turning sphere")
# The summary is the first line of the package's description; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "orbdrift puts you inside a slowly turning sphere of grey noise, lit by a
light that circles outside it, seen through a camera that drifts, pauses
and drifts again, between two black letterbox bands that breathe.

It is a display mode of the X screen-saver daemon: pick it in
xscreensaver-settings, or add GL: orbdrift --root to the programs of
~/.xscreensaver. With --window it runs in a window of its own.")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xscreensaver)
# The dependencies come from the libraries the program links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
