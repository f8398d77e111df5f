// The Wayland mode's loop: steps the scene once a frame and draws it on
// every surface, until an end request, input or the compositor ends it.
#include "wayland/wayland_saver.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "common/saver_limits.h"
#include "platform/end_requests.h"
#include "scene/frame_driver.h"
#include "wayland/wayland_client.h"

Client client;

namespace
{

bool scene_started = false;

// The scene starts in the context of the first surface that has a size, is
// stepped once a frame, and is drawn on each surface at its own size.
void draw_on(Canvas& canvas, bool& stepped)
{
    if (!canvas.surface || !canvas.fit_buffer(client.gl) || !canvas.make_current(client.gl))
        return;
    if (!scene_started) {
        scene_started = true;
        apply_fixed_gl_state();
        start_scene(canvas.buffer_width, canvas.buffer_height);
    }
    if (!stepped) {
        step_frame();
        stepped = true;
    }
    canvas.paint(client.gl);
}

void draw_frame()
{
    bool stepped = false;
    for (const auto& output : client.outputs)
        draw_on(output->canvas, stepped);
    draw_on(client.window, stepped);
}

// Waits for the compositor, an end request or the next frame, whichever is
// first; false when the compositor has gone.
bool wait(int timeout_ms)
{
    wl_display* d = client.display;
    while (wl_display_prepare_read(d) != 0)
        if (wl_display_dispatch_pending(d) < 0)
            return false;
    wl_display_flush(d);
    pollfd descriptors[2] = {{wl_display_get_fd(d), POLLIN, 0}, {end_request_fd(), POLLIN, 0}};
    poll(descriptors, 2, timeout_ms);
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
    const auto interval =
        std::chrono::milliseconds(std::max(frame_interval_ms, shortest_frame_interval_ms));
    auto next = clock::now();
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(next - clock::now());
        if (!wait(static_cast<int>(std::max<long long>(left.count(), 0)))) {
            std::fputs("orbdrift: lost the connection to the Wayland compositor\n", stderr);
            return 1;
        }
        if (take_end_request() || client.ended)
            return 0;
        if (clock::now() >= next) {
            draw_frame();
            next = clock::now() + interval; // missed frames are not made up
        }
    }
}

} // namespace

int run_wayland(const std::string& output_name, unsigned frame_interval_ms)
{
    client.display = wl_display_connect(nullptr);
    if (!client.display) {
        std::fputs("orbdrift: cannot connect to a Wayland compositor (is WAYLAND_DISPLAY set?)\n",
                   stderr);
        return 1;
    }
    client.wanted_output = output_name;
    watch_globals(wl_display_get_registry(client.display));
    wl_display_roundtrip(client.display); // the globals
    if (!client.compositor || (!client.layer_shell && !client.wm_base)) {
        std::fputs("orbdrift: the compositor offers no way to show a surface\n", stderr);
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
