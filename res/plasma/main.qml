// The wallpaper on one screen, and behind the lock screen's prompt: the one
// scene of the process, under the settings of this wallpaper's
// configuration where they are set.
import QtQuick 2.15
import org.orbdrift 1.0
import "../code/settings.js" as Settings

Item {
    OrbdriftScene {
        anchors.fill: parent
        options: Settings.options(wallpaper.configuration)
    }
}
