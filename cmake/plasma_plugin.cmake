# The KDE Plasma wallpaper: a Plasma/Wallpaper package of QML and the QML
# module org.orbdrift whose item draws the scene. Built where Qt 5's Quick
# development files are; without them everything else builds as before.
# Plasma itself is only needed to run it, never to build it.
find_package(Qt5 5.15 QUIET COMPONENTS Quick)
if(NOT Qt5Quick_FOUND)
  message(STATUS "Qt 5 Quick not found: no Plasma wallpaper (Debian: apt install qtdeclarative5-dev)")
  return()
endif()

# The plugin is a shared library, so what it links from the house is built
# for one.
set_target_properties(orbdrift_scene orbdrift_shell orbdrift_posix orbdrift_sdbus
                      PROPERTIES POSITION_INDEPENDENT_CODE ON)
set(CMAKE_AUTOMOC ON)
# The monitors' power and the windows stacked over its own it follows as the
# X host layer does, with those two files rather than the layer's library and
# all it links.
add_library(orbdrift_plasma STATIC src/plasma/scene_item.cpp src/plasma/scene_pace.cpp
            src/plasma/shared_scene.cpp src/plasma/x11_sight.cpp
            src/platform/x11_monitor_power.cpp src/platform/x11_stacking.cpp)
set_target_properties(orbdrift_plasma PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_link_libraries(orbdrift_plasma PUBLIC Qt5::Quick orbdrift_scene orbdrift_shell
                      orbdrift_posix orbdrift_sdbus X11::X11 X11::Xext)

# In the build tree as in a Qt installation, so that tests import it from
# there: qml/org/orbdrift.
set(plasma_qml_dir ${CMAKE_CURRENT_BINARY_DIR}/qml)
add_library(orbdriftplugin MODULE src/plasma/orbdrift_plugin.cpp)
target_link_libraries(orbdriftplugin PRIVATE orbdrift_plasma)
set_target_properties(orbdriftplugin PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${plasma_qml_dir}/org/orbdrift)
configure_file(src/plasma/qmldir ${plasma_qml_dir}/org/orbdrift/qmldir COPYONLY)
set(CMAKE_AUTOMOC OFF)

# The wallpaper's package, its lists of settings written from the table.
# In the build tree below share/, as below a data folder, for the tests.
set(wallpaper_id org.orbdrift.wallpaper)
set(wallpaper_dir ${CMAKE_CURRENT_BINARY_DIR}/share/plasma/wallpapers/${wallpaper_id})
configure_file(res/plasma/metadata.json.in ${wallpaper_dir}/metadata.json @ONLY)
configure_file(res/plasma/main.qml ${wallpaper_dir}/contents/ui/main.qml COPYONLY)
set(wallpaper_pages "")
foreach(page plasma-schema:config/main.xml plasma-script:code/settings.js plasma-page:ui/config.qml)
  string(REGEX REPLACE ":.*" "" mode ${page})
  string(REGEX REPLACE ".*:" "" file ${page})
  get_filename_component(folder ${wallpaper_dir}/contents/${file} DIRECTORY)
  add_custom_command(OUTPUT ${wallpaper_dir}/contents/${file}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                     COMMAND settings-pages ${mode} > ${wallpaper_dir}/contents/${file}
                     DEPENDS settings-pages)
  list(APPEND wallpaper_pages ${wallpaper_dir}/contents/${file})
endforeach()
add_custom_target(wallpaper_package ALL DEPENDS ${wallpaper_pages})

include(GNUInstallDirs)
# Where Plasma 5 looks: the wallpapers below the data folder, the module in
# Qt's QML folder (asked of Qt, below the prefix).
get_target_property(qmake Qt5::qmake IMPORTED_LOCATION)
execute_process(COMMAND ${qmake} -query QT_INSTALL_QML OUTPUT_VARIABLE qt_qml_dir
                OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REGEX REPLACE "^/usr/" "" qt_qml_dir "${qt_qml_dir}")
set(ORBDRIFT_QML_DIR ${qt_qml_dir} CACHE PATH "Where Qt 5 finds QML modules, below the prefix")
install(TARGETS orbdriftplugin LIBRARY DESTINATION ${ORBDRIFT_QML_DIR}/org/orbdrift
        COMPONENT plasma)
install(FILES src/plasma/qmldir DESTINATION ${ORBDRIFT_QML_DIR}/org/orbdrift COMPONENT plasma)
install(DIRECTORY ${wallpaper_dir} DESTINATION ${CMAKE_INSTALL_DATADIR}/plasma/wallpapers
        COMPONENT plasma)

# A package of its own beside the saver's, which installs without Qt: the
# Debian package orbdrift-plasma and the RPM of the same name. The RPM's
# module is where Debian's Qt looks (the packages are made on Debian).
add_custom_target(plasma_wallpaper ALL DEPENDS orbdriftplugin wallpaper_package)
set(optional_package_targets plasma_wallpaper)
# Every package carries its copyright and changelog, the saver's own.
set(plasma_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/orbdrift-plasma)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/generated/changelog.gz res/linux/copyright
        DESTINATION ${plasma_doc_dir} COMPONENT plasma)
set(CPACK_RPM_PLASMA_USER_FILELIST "%license /usr/${plasma_doc_dir}/copyright"
                                   "%doc /usr/${plasma_doc_dir}/changelog.gz")
set(CPACK_COMPONENTS_ALL Unspecified plasma)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_RPM_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_NAME orbdrift)
set(CPACK_RPM_UNSPECIFIED_PACKAGE_NAME orbdrift)
set(CPACK_DEBIAN_PLASMA_PACKAGE_NAME orbdrift-plasma)
set(CPACK_RPM_PLASMA_PACKAGE_NAME orbdrift-plasma)
set(plasma_summary "orbdrift as a living wallpaper of KDE Plasma's desktop and lock screen")
set(plasma_description
    "orbdrift's picture, inside a slowly turning sphere, as a wallpaper of the
Plasma 5 desktop and of its lock screen, behind the password prompt: pick
orbdrift as the wallpaper type in Configure Desktop and Wallpaper, or in
System Settings, Screen Locking, Appearance. What its page leaves unset is
what orbdrift's own settings say.")
set(CPACK_DEBIAN_PLASMA_DESCRIPTION "${plasma_summary}\n${plasma_description}")
set(CPACK_RPM_PLASMA_PACKAGE_SUMMARY "${plasma_summary}")
set(CPACK_RPM_PLASMA_PACKAGE_DESCRIPTION "${plasma_description}")
set(CPACK_DEBIAN_PLASMA_PACKAGE_SECTION kde)
# The QML its pages import; Plasma itself is what shows it.
set(CPACK_DEBIAN_PLASMA_PACKAGE_DEPENDS
    "qml-module-qtquick2, qml-module-qtquick-controls2, qml-module-org-kde-kirigami2")
set(CPACK_DEBIAN_PLASMA_PACKAGE_RECOMMENDS "plasma-workspace")
# The saver whose settings it reads where its page leaves them unset.
set(CPACK_DEBIAN_PLASMA_PACKAGE_SUGGESTS orbdrift)
set(CPACK_RPM_PLASMA_PACKAGE_SUGGESTS "plasma-workspace")
list(APPEND CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION /usr/share/plasma
     /usr/share/plasma/wallpapers /usr/lib/x86_64-linux-gnu /usr/lib/x86_64-linux-gnu/qt5
     /usr/lib/x86_64-linux-gnu/qt5/qml)
