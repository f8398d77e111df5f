// The compositor's globals, and a layer surface above everything (or, for a
// wallpaper, under everything) on each output it announces.
#include <algorithm>
#include <cstring>

#include "wayland/wayland_client.h"

namespace
{

void layer_configure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width,
                     uint32_t height)
{
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    static_cast<Output*>(data)->canvas.resize(static_cast<int>(width), static_cast<int>(height));
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

// A wallpaper lets every click and touch through to the desktop's other
// clients, as a surface with nothing in its input region does.
void take_no_input(wl_surface* surface)
{
    wl_region* nowhere = wl_compositor_create_region(client.compositor);
    wl_surface_set_input_region(surface, nowhere);
    wl_region_destroy(nowhere);
}

void cover(Output& output)
{
    Canvas& canvas = output.canvas;
    canvas.surface = wl_compositor_create_surface(client.compositor);
    const auto layer = client.layer == WaylandLayer::background
                           ? ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND
                       : client.layer == WaylandLayer::bottom ? ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM
                                                              : ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY;
    // A namespace of its own, so that a compositor's rules tell the
    // wallpaper from the saver.
    output.layer = zwlr_layer_shell_v1_get_layer_surface(
        client.layer_shell, canvas.surface, output.output, layer,
        client.wallpaper() ? "orbdrift-wallpaper" : "orbdrift");
    if (client.wallpaper())
        take_no_input(canvas.surface);
    zwlr_layer_surface_v1_set_anchor(
        output.layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                          ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_size(output.layer, 0, 0);
    zwlr_layer_surface_v1_set_exclusive_zone(output.layer, -1); // over (or under) panels too
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
    output->canvas.scale = output->pending_scale; // its buffer follows at the next draw
    if (output->announced)
        return;
    output->announced = true;
    if (client.layer_shell &&
        (client.wanted_output.empty() || client.wanted_output == output->name))
        cover(*output);
}

void output_scale(void* data, wl_output*, int32_t factor)
{
    static_cast<Output*>(data)->pending_scale = std::clamp(factor, 1, 8);
}

void output_name(void* data, wl_output*, const char* name)
{
    static_cast<Output*>(data)->name = name;
}

void output_description(void*, wl_output*, const char*) {}

const wl_output_listener output_listener = {output_geometry, output_mode, output_done,
                                            output_scale,    output_name, output_description};

void wm_ping(void*, xdg_wm_base* wm_base, uint32_t serial)
{
    xdg_wm_base_pong(wm_base, serial);
}

const xdg_wm_base_listener wm_base_listener = {wm_ping};

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

} // namespace

void watch_globals(wl_registry* registry)
{
    wl_registry_add_listener(registry, &registry_listener, nullptr);
}

bool any_output_covered()
{
    return std::any_of(client.outputs.begin(), client.outputs.end(),
                       [](const auto& o) { return o->layer != nullptr; });
}
