# Where the X screen-saver daemon looks: the program among its display modes,
# its entry for the settings program, and a man page; `cpack -G DEB` and
# `cpack -G RPM` in the build directory make the Debian and the RPM package of
# them, and the Arch PKGBUILD installs them with `cmake --install`. A file
# installed here lands in every package alike; the packages' tests compare
# their file lists, so one that is missing from a package fails them.
include(GNUInstallDirs)

install(TARGETS orbdrift RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
# And on the PATH, for the commands people type (orbdrift --help, orbdrift
# /c): a link, so that the daemon's copy and the typed one are one program.
file(RELATIVE_PATH program_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_LIBEXECDIR}/xscreensaver/orbdrift)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/generated/bin)
file(CREATE_LINK ${program_from_bin} ${CMAKE_CURRENT_BINARY_DIR}/generated/bin/orbdrift SYMBOLIC)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/generated/bin/orbdrift DESTINATION ${CMAKE_INSTALL_BINDIR})
# The daemon's entry and the man page's lines on the settings are written
# from the settings table, so that neither can leave a setting out.
add_executable(settings-pages src/tools/settings_pages.cpp src/tools/plasma_pages.cpp)
target_link_libraries(settings-pages PRIVATE orbdrift_scene)
set(generated ${CMAKE_CURRENT_BINARY_DIR}/generated)
add_custom_command(OUTPUT ${generated}/orbdrift.xml
                   COMMAND settings-pages xml > ${generated}/orbdrift.xml
                   DEPENDS settings-pages)
install(FILES ${generated}/orbdrift.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
# MATE's screen saver lists the themes of its menu, the desktop files below
# applications/screensavers, and runs a theme's program only from its own
# folder or the daemon's (added to the PATH it starts them with), so the
# theme names the program alone.
install(FILES res/linux/orbdrift.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers)

# The command that puts orbdrift in a user's list of the daemon's display
# modes: the daemon has no folder where a package could add to the list.
install(PROGRAMS res/linux/orbdrift-add-to-xscreensaver DESTINATION ${CMAKE_INSTALL_BINDIR})
# The picture a lock screen shows, which cannot run the saver.
install(TARGETS orbdrift-picture RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Debian wants man pages compressed, reproducibly (no name or time inside).
configure_file(res/linux/orbdrift.6 generated/orbdrift.6.in @ONLY)
add_custom_command(OUTPUT ${generated}/orbdrift.6
                   COMMAND settings-pages man ${generated}/orbdrift.6.in > ${generated}/orbdrift.6
                   DEPENDS settings-pages ${generated}/orbdrift.6.in)
configure_file(res/linux/orbdrift-picture.1 generated/orbdrift-picture.1.in @ONLY)
add_custom_command(OUTPUT ${generated}/orbdrift-picture.1
                   COMMAND settings-pages man ${generated}/orbdrift-picture.1.in >
                           ${generated}/orbdrift-picture.1
                   DEPENDS settings-pages ${generated}/orbdrift-picture.1.in)
configure_file(res/linux/orbdrift-add-to-xscreensaver.1 generated/orbdrift-add-to-xscreensaver.1
               @ONLY)
set(man_pages ${generated}/orbdrift.xml)
foreach(page orbdrift.6 orbdrift-picture.1 orbdrift-add-to-xscreensaver.1)
  set(compressed ${generated}/${page}.gz)
  add_custom_command(OUTPUT ${compressed}
                     COMMAND gzip -9n -c ${generated}/${page} > ${compressed}
                     DEPENDS ${generated}/${page})
  string(REGEX REPLACE ".*\\." "" section ${page})
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
  list(APPEND man_pages ${compressed})
endforeach()
# The pages people read, the daemon's entry with them.
add_custom_target(man_page ALL DEPENDS ${man_pages})

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
set(description
    "orbdrift puts you inside a slowly turning sphere of grey noise, lit by a
light that circles outside it, seen through a camera that drifts, pauses
and drifts again, between two black letterbox bands that breathe.

It is a display mode of the X screen-saver daemon: run
orbdrift-add-to-xscreensaver once as each user who wants it, then pick it in
xscreensaver-settings. It is also a theme of MATE's screen saver, the saver
of xsecurelock's locked screen, and, with --wayland, a screen saver for
Wayland idle daemons such as swayidle and hypridle. With --wallpaper it is a
living wallpaper under every window, on X or Wayland; with --window it runs
in a window of its own.

Removing the package leaves ~/.xscreensaver as it is: before removing it,
each user who added orbdrift runs orbdrift-add-to-xscreensaver --remove,
which takes it out of the display modes again and keeps every other line.")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${description}")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xscreensaver)
# The dependencies come from the libraries the program links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

# The RPM, for Fedora and openSUSE: rpmbuild finds the dependencies in the
# program's libraries by their sonames, which those systems' packages provide.
set(CPACK_RPM_PACKAGE_DESCRIPTION "${description}")
set(CPACK_RPM_PACKAGE_LICENSE MIT)
set(CPACK_RPM_PACKAGE_GROUP "Amusements/Graphics")
set(CPACK_RPM_PACKAGE_RELEASE 1)
set(CPACK_RPM_PACKAGE_AUTOREQPROV ON)
set(CPACK_RPM_PACKAGE_SUGGESTS xscreensaver)
set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
# Debian's rpmbuild would add build-id links under /usr/lib/.build-id, which
# only the debug information packages this project does not make would use.
set(CPACK_RPM_SPEC_MORE_DEFINE "%define _build_id_links none
%define packager ${CPACK_PACKAGE_CONTACT}")
# The folders every system has are the filesystem package's; the package owns
# only its own and the hosts', which it shares with them (xscreensaver's, and
# the screen-saver themes' folder below the desktop's applications).
list(APPEND CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
     /usr/bin /usr/libexec /usr/share/man /usr/share/man/man1 /usr/share/man/man6
     /usr/share/applications)
# The copyright file is the licence, the changelog the RPM's own changelog too.
set(CPACK_RPM_USER_FILELIST "%license /usr/share/doc/orbdrift/copyright"
                            "%doc /usr/share/doc/orbdrift/changelog.gz")
# The same, named for the saver's component where the wallpaper's is beside it.
set(CPACK_RPM_UNSPECIFIED_USER_FILELIST ${CPACK_RPM_USER_FILELIST})
# What the packages hold that is built only where its libraries are (the
# Plasma wallpaper, a package of its own): scripts/setup builds it with the rest.
add_custom_target(optional_packages)
if(optional_package_targets)
  add_dependencies(optional_packages ${optional_package_targets})
endif()
include(${CMAKE_CURRENT_LIST_DIR}/rpm_changelog.cmake)
rpm_changelog(${CMAKE_CURRENT_SOURCE_DIR}/res/linux/changelog
              ${CMAKE_CURRENT_BINARY_DIR}/generated/rpm-changelog ${CPACK_RPM_PACKAGE_RELEASE})
set(CPACK_RPM_CHANGELOG_FILE ${CMAKE_CURRENT_BINARY_DIR}/generated/rpm-changelog)

set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_generators.cmake)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
