#pragma once
// The wallpaper's frames, one pace for the process: each tick steps the one
// scene once, however many screens show it, and asks for a picture only on
// the screens where someone can see one. Ticks come at the wallpaper rate,
// slower on battery as the settings ask; a scene nobody sees still steps at
// that pace, so the picture that comes back is the one that would be there.
#include <QObject>
#include <QSet>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <memory>

#include "platform/sdbus_power_source.h"

class SceneItem;

class ScenePace : public QObject
{
    Q_OBJECT

public:
    static ScenePace& instance();

    void add(SceneItem* item);
    void remove(SceneItem* item);
    // An item was shown, hidden, covered or uncovered.
    void seen_changed();
    // The options of a wallpaper's configuration (every screen's gives the
    // same): when they differ from those in force, the scene starts again
    // under them, and the ticks follow their rate.
    void take_options(const QStringList& options);

    // One frame: the scene steps, and every item that is seen is drawn.
    void tick();
    // A caller that makes the ticks itself (a test, a tool) holds the timer.
    void hold_timer(bool held);

private:
    ScenePace();
    void retime();
    void watch_battery();

    QSet<SceneItem*> items;
    QStringList options_now;
    bool configured = false;
    QTimer timer;
    std::unique_ptr<QSocketNotifier> power_news;
    PowerNews power;
    bool running_on_battery = false;
    bool battery_watched = false;
    bool shows_black = false;
    bool held = false;
};
