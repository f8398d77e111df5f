#pragma once
// What the Wayland mode's parts share: the compositor's globals, the outputs
// with their layer surfaces, the fallback window, and whether input or the
// compositor ended saving.
#include <memory>
#include <string>
#include <vector>

#include "wayland/wayland_canvas.h"
#include "wayland/wayland_saver.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

struct Output {
    wl_output* output = nullptr;
    uint32_t global = 0;   // its name in the registry
    int pending_scale = 1; // told before the done event that makes it the canvas's
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
    std::vector<std::unique_ptr<Output>> outputs;
    std::string wanted_output; // empty for all
    WaylandLayer layer = WaylandLayer::overlay;
    bool wallpaper() const { return layer != WaylandLayer::overlay; } // under every window
    GlTarget gl;
    Canvas window; // of a compositor without layer-shell
    bool ended = false;
};

extern Client client;

// wayland_outputs.cpp: binds the globals as the registry announces them, and
// covers each output (or the wanted one) with a layer surface once it is
// announced, when the compositor has layer-shell.
void watch_globals(wl_registry* registry);
bool any_output_covered();

// wayland_window.cpp: the full-screen window and the seat's input that ends
// it, for a compositor without layer-shell.
void open_window();
