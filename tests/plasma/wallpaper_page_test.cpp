// The wallpaper's page, schema and script as written from the settings
// table, and what the wallpaper leaves unset is orbdrift's saved setting.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>

#include "plasma/shared_scene.h"
#include "shell/settings_store.h"

namespace
{

const QString package = ORBDRIFT_WALLPAPER_DIR;

// A home of the test's own, for the saved settings, and Qt without a display.
struct QmlPlace {
    QTemporaryDir home;
    bool environment_set = qputenv("HOME", home.path().toUtf8()) &&
                           qputenv("XDG_CONFIG_HOME", home.path().toUtf8()) &&
                           qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[16] = "wallpaper_page";
    char* argv[2] = {name, nullptr};
    QGuiApplication application{argc, argv};
    QQmlEngine engine;
};

// The options the package's script makes of a configuration.
QStringList options_of(QQmlEngine& engine, const QString& configuration)
{
    QQmlComponent component(&engine);
    component.setData(("import QtQml 2.15\nimport \"" + package +
                       "/contents/code/settings.js\" as S\n"
                       "QtObject { property var options: S.options(" +
                       configuration + ") }")
                          .toUtf8(),
                      QUrl::fromLocalFile(package + "/test.qml"));
    std::unique_ptr<QObject> object(component.create());
    EXPECT_TRUE(object) << component.errorString().toStdString();
    return object ? object->property("options").toStringList() : QStringList();
}

} // namespace

TEST(WallpaperPage, OffersEachSettingAndWhatItSetsWinsOverTheSaved)
{
    QmlPlace qml;
    QFile schema(package + "/contents/config/main.xml");
    ASSERT_TRUE(schema.open(QIODevice::ReadOnly));
    const QString entries = schema.readAll();
    QQmlComponent page(&qml.engine, QUrl::fromLocalFile(package + "/contents/ui/config.qml"));
    std::unique_ptr<QObject> root(page.create());
    ASSERT_TRUE(root) << page.errorString().toStdString();
    int offered = 0;
    for (const Setting& setting : setting_rows) {
        if (!(setting.places & in_wallpaper_page))
            continue;
        ++offered;
        const QString name = setting.stored;
        EXPECT_TRUE(entries.contains("<entry name=\"" + name + "\"")) << setting.stored;
        EXPECT_TRUE(root->property(("cfg_" + name).toUtf8()).isValid()) << setting.stored;
    }
    // Nothing else: an entry of a setting the table no longer offers there.
    EXPECT_EQ(entries.count("<entry name="), offered);
    EXPECT_GT(offered, 0);

    // The entries a page writes, as options read over the saved settings.
    SceneSettings saved;
    saved.texture = FOG;
    saved.speed_percent = 50;
    saved.particles = true;
    saved.wallpaper_frame_rate = 60;
    ASSERT_EQ(write_settings(saved), ERROR_SUCCESS);

    const QStringList options = options_of(
        qml.engine, "{Texture: \"smoke\", Particles: \"off\", Overlays: \"on\", Speed: \"\", "
                    "WallpaperFrameRate: \"15\", Motion: \"\"}");
    EXPECT_EQ(options, QStringList({"--texture", "smoke", "--no-particles", "--overlays",
                                    "--wallpaper-rate", "15"}));
    const SceneSettings settings = wallpaper_settings(options);
    EXPECT_EQ(settings.texture, SMOKE);
    EXPECT_EQ(settings.speed_percent, 50); // unset there: the saved one

    EXPECT_TRUE(options_of(qml.engine, "{}").isEmpty());
    const SceneSettings untouched = wallpaper_settings({});
    EXPECT_EQ(untouched.texture, FOG);
    EXPECT_TRUE(untouched.particles);
    EXPECT_FALSE(untouched.desktop_wants_less_motion);

    // KDE's wish for no animation is the desktop's word, unless motion is set.
    QFile kdeglobals(qml.home.path() + "/kdeglobals");
    ASSERT_TRUE(kdeglobals.open(QIODevice::WriteOnly));
    kdeglobals.write("[KDE]\nAnimationDurationFactor=0\n");
    kdeglobals.close();
    EXPECT_TRUE(wallpaper_settings({}).desktop_wants_less_motion);
    EXPECT_FALSE(wallpaper_settings({"--motion", "full"}).desktop_wants_less_motion);
    // A value no option takes counts as unset, as a saved one out of range does.
    EXPECT_EQ(wallpaper_settings({"--speed", "5", "--texture", "nothing"}).speed_percent, 50);
}
