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
add_library(orbdrift_plasma STATIC src/plasma/scene_item.cpp src/plasma/scene_pace.cpp
            src/plasma/shared_scene.cpp src/plasma/x11_sight.cpp)
set_target_properties(orbdrift_plasma PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_link_libraries(orbdrift_plasma PUBLIC Qt5::Quick orbdrift_scene orbdrift_shell
                      orbdrift_posix orbdrift_sdbus X11::X11)

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
