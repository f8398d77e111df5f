// The Wayland mode's loop: steps the scene once a frame and draws it on
// every surface, until an end request, input or the compositor ends it.
#include "wayland/wayland_saver.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>

#include "common/saver_limits.h"
#include "platform/posix_end_requests.h"
#include "platform/sdbus_power_source.h"
#include "scene/frame_driver.h"
#include "scene/frame_pace.h"
#include "scene/scene_settings.h"
#include "shell/start_choices.h"
#include "wayland/wayland_client.h"

Client client;

namespace
{

bool scene_started = false;
bool running_on_battery = false;

// A surface the compositor wants a picture on, its context current; the
// scene starts in the context of the first.
bool ready(Canvas& canvas)
{
    if (!canvas.surface || !canvas.wants_frame() || !canvas.fit_buffer(client.gl) ||
        !canvas.make_current(client.gl))
        return false;
    if (!scene_started) {
        scene_started = true;
        apply_fixed_gl_state();
        start_scene(canvas.buffer_width, canvas.buffer_height);
    }
    return true;
}

// The scene steps once a tick, whether any surface wants a picture or none
// (each is drawn at its own size from that one step), until it is black for
// good.
void tick(FrameWork work)
{
    static int new_texture = -1; // of a wallpaper's new day, made once a context is current
    if (client.wallpaper() && scene_settings.texture_varies)
        if (const int texture = texture_of_a_new_day(); texture >= 0)
            new_texture = texture;
    bool stepped = work == FrameWork::black_end;
    const auto step_once = [&stepped] {
        if (!stepped && scene_started)
            step_frame();
        stepped = true;
    };
    const auto show = [&](Canvas& canvas) {
        if (!ready(canvas))
            return;
        if (new_texture >= 0)
            change_scene_texture(std::exchange(new_texture, -1));
        step_once();
        if (work == FrameWork::draw)
            canvas.paint(client.gl);
        else if (!canvas.shows_black)
            canvas.paint_black(client.gl);
    };
    for (const auto& output : client.outputs)
        show(output->canvas);
    show(client.window);
    step_once();
}

// Waits for the compositor, an end request, news of the power source or the
// next tick, whichever is first; false when the compositor has gone.
bool wait(int timeout_ms)
{
    wl_display* d = client.display;
    while (wl_display_prepare_read(d) != 0)
        if (wl_display_dispatch_pending(d) < 0)
            return false;
    wl_display_flush(d);
    pollfd descriptors[3] = {{wl_display_get_fd(d), POLLIN, 0},
                             {end_request_fd(), POLLIN, 0},
                             {power_source_descriptor(), POLLIN, 0}};
    poll(descriptors, 3, timeout_ms);
    if (descriptors[0].revents & (POLLIN | POLLHUP | POLLERR)) {
        if (wl_display_read_events(d) < 0)
            return false;
    } else {
        wl_display_cancel_read(d);
    }
    return wl_display_dispatch_pending(d) >= 0;
}

int run_frames(unsigned frame_interval_ms)
{
    using clock = std::chrono::steady_clock;
    using std::chrono::milliseconds;
    watch_power_source();
    PowerNews power = power_now();
    running_on_battery = saving_power(power);
    const auto start = clock::now();
    const auto work_now = [start] {
        const auto saving = std::chrono::duration_cast<milliseconds>(clock::now() - start);
        return frame_work(running_on_battery, false, saving.count());
    };
    auto next = start;
    for (;;) {
        const bool black_for_good = work_now() == FrameWork::black_end;
        // Rounded up: a wait that ends short of the tick would spin until it.
        const auto left = std::chrono::ceil<milliseconds>(next - clock::now());
        // Black for good, only a surface that wants its first black frame wakes it.
        const int timeout =
            black_for_good ? -1 : static_cast<int>(std::max<long long>(left.count(), 0));
        if (!wait(timeout)) {
            std::fputs("orbdrift: lost the connection to the Wayland compositor\n", stderr);
            return 1;
        }
        if (take_end_request() || client.ended)
            return 0;
        if (power_source_changed(power))
            running_on_battery = saving_power(power);
        if (black_for_good || clock::now() >= next) {
            tick(work_now());
            const unsigned interval = tick_interval(
                std::max(frame_interval_ms, shortest_frame_interval_ms), running_on_battery);
            next = clock::now() + milliseconds(interval); // missed ticks are not made up
        }
    }
}

} // namespace

int run_wayland(const std::string& output_name, const SceneSettings& settings,
                unsigned frame_interval_ms, WaylandLayer layer)
{
    scene_settings = settings;
    client.display = wl_display_connect(nullptr);
    if (!client.display) {
        std::fputs("orbdrift: cannot connect to a Wayland compositor (is WAYLAND_DISPLAY set?)\n",
                   stderr);
        return 1;
    }
    client.wanted_output = output_name;
    client.layer = layer;
    watch_globals(wl_display_get_registry(client.display));
    wl_display_roundtrip(client.display); // the globals
    if (!client.compositor || (!client.layer_shell && !client.wm_base)) {
        std::fputs("orbdrift: the compositor offers no way to show a surface\n", stderr);
        return 1;
    }
    // A full-screen window would hide the desktop it was to be.
    if (client.wallpaper() && !client.layer_shell) {
        std::fputs("orbdrift: the compositor offers no layer-shell, which a wallpaper needs\n",
                   stderr);
        return 1;
    }
    if (!open_gl_target(client.display, client.gl))
        return 1;
    if (client.layer_shell) {
        wl_display_roundtrip(client.display); // the outputs, covered as they are announced
        if (!client.wanted_output.empty() && !any_output_covered()) {
            std::fprintf(stderr, "orbdrift: the compositor has no output named %s\n",
                         client.wanted_output.c_str());
            return 1;
        }
    } else {
        open_window();
    }
    return run_frames(frame_interval_ms);
}
