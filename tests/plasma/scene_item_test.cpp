// The wallpaper's item in Qt Quick windows of the test's own: its frames are
// the snapshot tool's of the same moment, Qt Quick drawing around them.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/frame_clock.h"
#include "plasma/scene_item.h"
#include "plasma/scene_pace.h"
#include "scene/frame_driver.h"
#include "support/xvfb_server.h"

namespace
{

std::int64_t simulated_ms = 0;

constexpr int width = 640;
constexpr int height = 480;
constexpr int frames = 60;
constexpr int step_ms = 40;
constexpr std::uint32_t seed = 7;

// The largest difference of a colour channel between two pictures.
int largest_difference(const QImage& a, const QImage& b)
{
    const QImage p = a.convertToFormat(QImage::Format_RGB888);
    const QImage q = b.convertToFormat(QImage::Format_RGB888);
    int largest = 0;
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < width * 3; ++i)
            largest = std::max(largest, std::abs(p.constScanLine(y)[i] - q.constScanLine(y)[i]));
    return largest;
}

// Two windows, as two screens of one process, each with a context of its
// own, show the one step of the scene, though each drew every frame. Mesa
// rounds blended particles a few steps apart through GLX and the snapshot's
// EGL: a channel may be 4 of 255 off, where the frame before is 17 off.
void expect_snapshot_frames(const QString& options, bool sharing = true)
{
    XvfbServer server(true, {"-screen", "0", "1280x480x24"});
    ASSERT_TRUE(server.running()) << server.failure();
    QTemporaryDir home; // the saved settings of a home of its own: none
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, sharing);
    int argc = 1;
    char name[] = "scene_item_test";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    set_millisecond_source([] { return simulated_ms; });
    fix_scene_seed(seed);
    ScenePace::instance().hold_timer(true); // the ticks are the test's
    QQuickWindow screens[2];
    for (int i = 0; i < 2; ++i) {
        auto* item = new SceneItem(screens[i].contentItem());
        item->setSize(QSizeF(width, height));
        item->set_options(options.split(' ', Qt::SkipEmptyParts));
        screens[i].setGeometry(i * width, 0, width, height);
        screens[i].show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&screens[i]));
    }
    // The scene starts at the clock's zero; each screen draws each frame.
    std::vector<QImage> pictures;
    for (int frame = 0; frame <= frames; ++frame) {
        if (frame > 0) {
            simulated_ms += step_ms;
            ScenePace::instance().tick();
        }
        pictures.clear();
        for (QQuickWindow& screen : screens)
            pictures.push_back(screen.grabWindow());
    }
    const QString snapshot = home.path() + "/snapshot.png";
    const std::string command = std::string(ORBDRIFT_SNAPSHOT) + " --size 640x480 --frames " +
                                std::to_string(frames) + " --step-ms " + std::to_string(step_ms) +
                                " --seed " + std::to_string(seed) + " " + options.toStdString() +
                                " -o " + snapshot.toStdString();
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const QImage expected(snapshot);
    ASSERT_EQ(expected.size(), QSize(width, height));
    EXPECT_LE(largest_difference(pictures[0], expected), 4);
    QImage black(width, height, QImage::Format_RGB32);
    black.fill(Qt::black);
    EXPECT_LE(largest_difference(pictures[1], sharing ? expected : black), sharing ? 4 : 0);
}

} // namespace

// The picture as the saved settings make it: the sphere's texture alone,
// bound once a frame, so that a texture Qt Quick bound in between shows.
TEST(SceneItem, FramesAreTheSnapshotsOnEveryScreen)
{
    expect_snapshot_frames("");
}

// The settings' options, and the depth and blending of the particles.
TEST(SceneItem, FramesUnderOptionsAreTheSnapshots)
{
    expect_snapshot_frames("--texture smoke --particles --speed 2");
}

// A second screen whose window shares no objects with the first (the lock
// screen's do not) has nothing of the scene to draw with: black.
TEST(SceneItem, AScreenWithoutTheScenesObjectsIsBlack)
{
    expect_snapshot_frames("", false);
}
