#include "plasma/scene_pace.h"

#include <algorithm>

#include "common/saver_limits.h"
#include "plasma/scene_item.h"
#include "plasma/shared_scene.h"
#include "platform/sdbus_power_source.h"
#include "scene/frame_pace.h"

ScenePace& ScenePace::instance()
{
    static ScenePace pace;
    return pace;
}

ScenePace::ScenePace()
{
    connect(&timer, &QTimer::timeout, this, &ScenePace::tick);
}

void ScenePace::add(SceneItem* item)
{
    // Until a configuration says otherwise, the saved settings hold.
    if (!configured)
        take_options({});
    items.insert(item);
    watch_battery();
    retime();
}

void ScenePace::remove(SceneItem* item)
{
    items.remove(item);
    retime();
}

void ScenePace::seen_changed()
{
    // A screen that comes back into sight gets its picture at once.
    for (SceneItem* item : qAsConst(items))
        if (item->seen())
            item->update();
}

void ScenePace::take_options(const QStringList& options)
{
    if (configured && options == options_now)
        return;
    configured = true;
    options_now = options;
    set_shared_settings(wallpaper_settings(options));
    retime();
    seen_changed();
}

void ScenePace::tick()
{
    const bool anyone_sees =
        std::any_of(items.cbegin(), items.cend(), [](SceneItem* item) { return item->seen(); });
    // A wallpaper has no saving time after which it goes black.
    const FrameWork work = frame_work(running_on_battery, !anyone_sees, 0);
    step_shared_scene();
    const bool black = work == FrameWork::black;
    if (work == FrameWork::step || (black && shows_black))
        return;
    shows_black = black;
    set_shared_black(black);
    for (SceneItem* item : qAsConst(items))
        if (item->seen())
            item->update();
}

void ScenePace::hold_timer(bool hold)
{
    held = hold;
    retime();
}

void ScenePace::retime()
{
    if (items.isEmpty() || held) {
        timer.stop();
        return;
    }
    const unsigned interval =
        tick_interval(std::max(frame_interval_for(shared_settings().wallpaper_frame_rate),
                               shortest_frame_interval_ms),
                      running_on_battery);
    if (!timer.isActive() || timer.interval() != static_cast<int>(interval))
        timer.start(static_cast<int>(interval));
}

// UPower's word on the power source and the power profile's, from the first
// item on; without a system bus the computer counts as on mains.
void ScenePace::watch_battery()
{
    if (battery_watched)
        return;
    battery_watched = true;
    // Followed first, so that the first answers come on the bus that then
    // brings the news, and are waited for once.
    const bool followed = watch_power_source();
    power = power_now();
    running_on_battery = saving_power(power);
    if (!followed)
        return;
    power_news =
        std::make_unique<QSocketNotifier>(power_source_descriptor(), QSocketNotifier::Read);
    connect(power_news.get(), &QSocketNotifier::activated, this, [this] {
        if (power_source_changed(power)) {
            running_on_battery = saving_power(power);
            retime();
        }
        // A bus that went closed its descriptor, which the next file opened
        // may take: nothing of ours may watch it then. The notifier is still
        // telling of its news, so it goes once that is done.
        if (power_source_descriptor() < 0) {
            power_news->setEnabled(false);
            power_news.release()->deleteLater();
        }
    });
}
