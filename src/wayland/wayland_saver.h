#pragma once
#include <string>

#include "scene/scene_settings.h"

// The saver on a Wayland compositor. With layer-shell: above everything on
// every output (or only the one named), each at its own size and scale from
// the same step of the scene, until SIGTERM, SIGINT or SIGHUP end it with 0;
// input is the idle daemon's or the locker's business. Without layer-shell:
// in one full-screen window that a key, a button or a move of more than four
// pixels ends with 0, as saving mode does. Ends with 1 and one line when no
// compositor can be reached or it goes away. The caller watches the end
// requests, from its start, before anything here can wait on a compositor.
// As a wallpaper (any layer but overlay): under every window on the
// background layer, or the bottom one for a compositor or bar that draws its
// own background there, taking no input, ending only as the layer-shell
// saver does; a compositor without layer-shell ends it with 1. The scene is
// drawn as settings say.
enum class WaylandLayer { overlay, background, bottom };
int run_wayland(const std::string& output_name, const SceneSettings& settings,
                unsigned frame_interval_ms, WaylandLayer layer);
