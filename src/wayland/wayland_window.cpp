// The full-screen window of a compositor without layer-shell, and the seat's
// input that ends it as in saving mode.
#include <unistd.h>

#include <cmath>
#include <cstdio>

#include "common/saver_limits.h"
#include "wayland/wayland_client.h"

namespace
{

struct Window {
    xdg_surface* role = nullptr;
    xdg_toplevel* toplevel = nullptr;
    int pending_width = 0; // as the toplevel's configure said, until its surface's
    int pending_height = 0;
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    bool pointer_placed = false;
    double pointer_x = 0.0;
    double pointer_y = 0.0;
};

Window window;

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

const wl_keyboard_listener keyboard_listener = {keyboard_keymap,    keyboard_enter,
                                                keyboard_leave,     keyboard_key,
                                                keyboard_modifiers, keyboard_repeat};

void pointer_at(wl_fixed_t x, wl_fixed_t y)
{
    const double px = wl_fixed_to_double(x);
    const double py = wl_fixed_to_double(y);
    if (!window.pointer_placed) {
        window.pointer_placed = true;
        window.pointer_x = px;
        window.pointer_y = py;
    } else if (std::fabs(px - window.pointer_x) + std::fabs(py - window.pointer_y) >
               pointer_move_limit) {
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
    pointer_enter,         pointer_leave,        pointer_motion,      pointer_button,
    pointer_axis,          pointer_frame,        pointer_axis_source, pointer_axis_stop,
    pointer_axis_discrete, pointer_axis_value120};

// The seat may announce its capabilities again; each device is taken once.
void seat_capabilities(void*, wl_seat* seat, uint32_t capabilities)
{
    if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && !window.keyboard) {
        window.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(window.keyboard, &keyboard_listener, nullptr);
    }
    if ((capabilities & WL_SEAT_CAPABILITY_POINTER) && !window.pointer) {
        window.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(window.pointer, &pointer_listener, nullptr);
    }
}
void seat_name(void*, wl_seat*, const char*) {}

const wl_seat_listener seat_listener = {seat_capabilities, seat_name};

// A compositor that leaves the size to the client gets a common one.
void window_configure(void*, xdg_surface* role, uint32_t serial)
{
    xdg_surface_ack_configure(role, serial);
    client.window.resize(window.pending_width > 0 ? window.pending_width : 1280,
                         window.pending_height > 0 ? window.pending_height : 720);
}

const xdg_surface_listener window_role_listener = {window_configure};

void toplevel_configure(void*, xdg_toplevel*, int32_t width, int32_t height, wl_array*)
{
    window.pending_width = width;
    window.pending_height = height;
}
void toplevel_close(void*, xdg_toplevel*)
{
    client.ended = true;
}

void toplevel_bounds(void*, xdg_toplevel*, int32_t, int32_t) {}
void toplevel_capabilities(void*, xdg_toplevel*, wl_array*) {}

const xdg_toplevel_listener toplevel_listener = {toplevel_configure, toplevel_close,
                                                 toplevel_bounds, toplevel_capabilities};

} // namespace

void open_window()
{
    std::fputs("orbdrift: the compositor offers no layer-shell; drawing in a full-screen window "
               "until input\n",
               stderr);
    if (client.seat)
        wl_seat_add_listener(client.seat, &seat_listener, nullptr);
    Canvas& canvas = client.window;
    canvas.surface = wl_compositor_create_surface(client.compositor);
    window.role = xdg_wm_base_get_xdg_surface(client.wm_base, canvas.surface);
    xdg_surface_add_listener(window.role, &window_role_listener, nullptr);
    window.toplevel = xdg_surface_get_toplevel(window.role);
    xdg_toplevel_add_listener(window.toplevel, &toplevel_listener, nullptr);
    xdg_toplevel_set_title(window.toplevel, "orbdrift");
    xdg_toplevel_set_app_id(window.toplevel, "orbdrift");
    xdg_toplevel_set_fullscreen(window.toplevel, nullptr);
    wl_surface_commit(canvas.surface);
}
