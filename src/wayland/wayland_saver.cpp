// The Wayland client: the compositor's globals, an overlay layer surface on
// each output (or a full-screen window where there is no layer-shell), the
// seat's input for that window, and the loop that steps the scene once a
// frame and draws it on every surface.
#include "wayland/wayland_saver.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/end_requests.h"
#include "scene/frame_driver.h"
#include "wayland/wayland_canvas.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace
{

struct Output {
    wl_output* output = nullptr;
    uint32_t global = 0; // its name in the registry
    int scale = 1;
    std::string name;
    bool announced = false; // its first done event came
    zwlr_layer_surface_v1* layer = nullptr;
    Canvas canvas;
};

struct Client {
    wl_display* display = nullptr;
    wl_compositor* compositor = nullptr;
    zwlr_layer_shell_v1* layer_shell = nullptr;
    xdg_wm_base* wm_base = nullptr;
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    std::vector<std::unique_ptr<Output>> outputs;
    std::string wanted_output; // empty for all
    GlTarget gl;
    bool scene_started = false;
    // The window of a compositor without layer-shell.
    Canvas window;
    xdg_surface* window_role = nullptr;
    xdg_toplevel* toplevel = nullptr;
    int pending_width = 0;
    int pending_height = 0;
    bool pointer_placed = false;
    double pointer_x = 0.0;
    double pointer_y = 0.0;
    bool ended = false;
};

Client client;

void layer_configure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width,
                     uint32_t height)
{
    auto* output = static_cast<Output*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    output->canvas.resize(static_cast<int>(width), static_cast<int>(height), output->scale);
}

void forget_surface(Output& output)
{
    output.canvas.destroy(client.gl);
    if (output.layer)
        zwlr_layer_surface_v1_destroy(output.layer);
    output.layer = nullptr;
}

void layer_closed(void* data, zwlr_layer_surface_v1*)
{
    forget_surface(*static_cast<Output*>(data));
}

const zwlr_layer_surface_v1_listener layer_listener = {layer_configure, layer_closed};

void cover(Output& output)
{
    Canvas& canvas = output.canvas;
    canvas.surface = wl_compositor_create_surface(client.compositor);
    output.layer = zwlr_layer_shell_v1_get_layer_surface(
        client.layer_shell, canvas.surface, output.output, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY,
        "orbdrift");
    zwlr_layer_surface_v1_set_anchor(output.layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP |
                                                       ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                                       ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                                       ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_size(output.layer, 0, 0);
    zwlr_layer_surface_v1_set_exclusive_zone(output.layer, -1); // over panels too
    zwlr_layer_surface_v1_set_keyboard_interactivity(output.layer, 0);
    zwlr_layer_surface_v1_add_listener(output.layer, &layer_listener, &output);
    wl_surface_commit(canvas.surface);
}

void output_geometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                     const char*, int32_t)
{
}

void output_mode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {}

void output_done(void* data, wl_output*)
{
    auto* output = static_cast<Output*>(data);
    output->canvas.scale = output->scale; // a new scale takes effect at the next draw
    if (output->announced)
        return;
    output->announced = true;
    if (client.layer_shell &&
        (client.wanted_output.empty() || client.wanted_output == output->name))
        cover(*output);
}

void output_scale(void* data, wl_output*, int32_t factor)
{
    static_cast<Output*>(data)->scale = std::clamp(factor, 1, 8);
}

void output_name(void* data, wl_output*, const char* name)
{
    static_cast<Output*>(data)->name = name;
}

void output_description(void*, wl_output*, const char*) {}

const wl_output_listener output_listener = {output_geometry, output_mode, output_done,
                                            output_scale,    output_name, output_description};

void end_on_input()
{
    client.ended = true;
}

void keyboard_keymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t)
{
    close(fd);
}
void keyboard_enter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
void keyboard_leave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
void keyboard_key(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state)
{
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED)
        end_on_input();
}
void keyboard_modifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void keyboard_repeat(void*, wl_keyboard*, int32_t, int32_t) {}

const wl_keyboard_listener keyboard_listener = {keyboard_keymap, keyboard_enter,
                                                keyboard_leave,  keyboard_key,
                                                keyboard_modifiers, keyboard_repeat};

// The pointer may move four pixels; the fifth ends it, as in saving mode.
void pointer_at(wl_fixed_t x, wl_fixed_t y)
{
    const double px = wl_fixed_to_double(x);
    const double py = wl_fixed_to_double(y);
    if (!client.pointer_placed) {
        client.pointer_placed = true;
        client.pointer_x = px;
        client.pointer_y = py;
    } else if (std::fabs(px - client.pointer_x) + std::fabs(py - client.pointer_y) > 4.0) {
        end_on_input();
    }
}

void pointer_enter(void*, wl_pointer*, uint32_t, wl_surface*, wl_fixed_t x, wl_fixed_t y)
{
    pointer_at(x, y);
}
void pointer_leave(void*, wl_pointer*, uint32_t, wl_surface*) {}
void pointer_motion(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    pointer_at(x, y);
}
void pointer_button(void*, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state)
{
    if (state == WL_POINTER_BUTTON_STATE_PRESSED)
        end_on_input();
}
void pointer_axis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void pointer_frame(void*, wl_pointer*) {}
void pointer_axis_source(void*, wl_pointer*, uint32_t) {}
void pointer_axis_stop(void*, wl_pointer*, uint32_t, uint32_t) {}
void pointer_axis_discrete(void*, wl_pointer*, uint32_t, int32_t) {}
void pointer_axis_value120(void*, wl_pointer*, uint32_t, int32_t) {}

const wl_pointer_listener pointer_listener = {
    pointer_enter,       pointer_leave,         pointer_motion,       pointer_button,
    pointer_axis,        pointer_frame,         pointer_axis_source,  pointer_axis_stop,
    pointer_axis_discrete, pointer_axis_value120};

// The seat may announce its capabilities again; each device is taken once.
void seat_capabilities(void*, wl_seat* seat, uint32_t capabilities)
{
    if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && !client.keyboard) {
        client.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(client.keyboard, &keyboard_listener, nullptr);
    }
    if ((capabilities & WL_SEAT_CAPABILITY_POINTER) && !client.pointer) {
        client.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(client.pointer, &pointer_listener, nullptr);
    }
}
void seat_name(void*, wl_seat*, const char*) {}

const wl_seat_listener seat_listener = {seat_capabilities, seat_name};

void wm_ping(void*, xdg_wm_base* wm_base, uint32_t serial)
{
    xdg_wm_base_pong(wm_base, serial);
}

const xdg_wm_base_listener wm_base_listener = {wm_ping};

void window_configure(void*, xdg_surface* role, uint32_t serial)
{
    xdg_surface_ack_configure(role, serial);
    client.window.resize(client.pending_width > 0 ? client.pending_width : 1280,
                         client.pending_height > 0 ? client.pending_height : 720, 1);
}

const xdg_surface_listener window_role_listener = {window_configure};

void toplevel_configure(void*, xdg_toplevel*, int32_t width, int32_t height, wl_array*)
{
    client.pending_width = width;
    client.pending_height = height;
}
void toplevel_close(void*, xdg_toplevel*)
{
    client.ended = true;
}

void toplevel_bounds(void*, xdg_toplevel*, int32_t, int32_t) {}
void toplevel_capabilities(void*, xdg_toplevel*, wl_array*) {}

const xdg_toplevel_listener toplevel_listener = {toplevel_configure, toplevel_close, toplevel_bounds,
                                                 toplevel_capabilities};

void open_window()
{
    std::fputs("orbdrift: the compositor offers no layer-shell; drawing in a full-screen window "
               "until input\n",
               stderr);
    Canvas& window = client.window;
    window.surface = wl_compositor_create_surface(client.compositor);
    client.window_role = xdg_wm_base_get_xdg_surface(client.wm_base, window.surface);
    xdg_surface_add_listener(client.window_role, &window_role_listener, nullptr);
    client.toplevel = xdg_surface_get_toplevel(client.window_role);
    xdg_toplevel_add_listener(client.toplevel, &toplevel_listener, nullptr);
    xdg_toplevel_set_title(client.toplevel, "orbdrift");
    xdg_toplevel_set_app_id(client.toplevel, "orbdrift");
    xdg_toplevel_set_fullscreen(client.toplevel, nullptr);
    wl_surface_commit(window.surface);
}

void global_added(void*, wl_registry* registry, uint32_t name, const char* interface,
                  uint32_t version)
{
    const auto bind = [&](const wl_interface* kind, uint32_t highest) {
        return wl_registry_bind(registry, name, kind, std::min(version, highest));
    };
    if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
        client.compositor = static_cast<wl_compositor*>(bind(&wl_compositor_interface, 4));
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0) {
        client.layer_shell =
            static_cast<zwlr_layer_shell_v1*>(bind(&zwlr_layer_shell_v1_interface, 1));
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
        client.wm_base = static_cast<xdg_wm_base*>(bind(&xdg_wm_base_interface, 1));
        xdg_wm_base_add_listener(client.wm_base, &wm_base_listener, nullptr);
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0) {
        client.seat = static_cast<wl_seat*>(bind(&wl_seat_interface, 5));
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        auto output = std::make_unique<Output>();
        output->global = name;
        output->output = static_cast<wl_output*>(bind(&wl_output_interface, 4));
        wl_output_add_listener(output->output, &output_listener, output.get());
        client.outputs.push_back(std::move(output));
    }
}

void global_removed(void*, wl_registry*, uint32_t name)
{
    auto& outputs = client.outputs;
    const auto gone = std::find_if(outputs.begin(), outputs.end(),
                                   [name](const auto& o) { return o->global == name; });
    if (gone == outputs.end())
        return;
    forget_surface(**gone);
    wl_output_destroy((*gone)->output);
    outputs.erase(gone);
}

const wl_registry_listener registry_listener = {global_added, global_removed};

// The scene starts in the context of the first surface that has a size, is
// stepped once a frame, and is drawn on each surface at its own size.
void draw_on(Canvas& canvas, bool& stepped)
{
    if (!canvas.surface || !canvas.make_current(client.gl))
        return;
    if (!client.scene_started) {
        client.scene_started = true;
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
    const auto interval = std::chrono::milliseconds(std::max(frame_interval_ms, 10u));
    auto next = clock::now();
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(next - clock::now());
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
    wl_registry* registry = wl_display_get_registry(client.display);
    wl_registry_add_listener(registry, &registry_listener, nullptr);
    wl_display_roundtrip(client.display); // the globals
    if (!client.compositor || (!client.layer_shell && !client.wm_base)) {
        std::fputs("orbdrift: the compositor offers no way to show a surface\n", stderr);
        return 1;
    }
    if (!open_gl_target(client.display, client.gl))
        return 1;
    if (client.layer_shell) {
        wl_display_roundtrip(client.display); // the outputs, covered as they are announced
        const bool covered = std::any_of(client.outputs.begin(), client.outputs.end(),
                                         [](const auto& o) { return o->layer != nullptr; });
        if (!client.wanted_output.empty() && !covered) {
            std::fprintf(stderr, "orbdrift: the compositor has no output named %s\n",
                         client.wanted_output.c_str());
            return 1;
        }
    } else {
        if (client.seat)
            wl_seat_add_listener(client.seat, &seat_listener, nullptr);
        open_window();
    }
    return run_frames(frame_interval_ms);
}
