#pragma once
// The one scene of a process that shows the wallpaper on any number of
// screens. Qt Quick may render each screen's window on a thread of its own,
// so every touch of the scene goes through here, under one lock: the pace
// steps it once a frame on the GUI thread, each screen's renderer draws that
// one step into its own framebuffer.
#include <QStringList>

class QQuickWindow;

#include "scene/scene_settings.h"

// The saved settings, under the options a wallpaper's configuration gives
// ("--texture", "smoke", "--no-particles", ...): what a person set for the
// wallpaper wins, the rest is what orbdrift's own settings say. An option
// that is wrong is passed over, as a saved value out of range is.
SceneSettings wallpaper_settings(const QStringList& options);

// New settings for the scene: it starts again under them at its next picture.
void set_shared_settings(const SceneSettings& settings);
SceneSettings shared_settings();

// One step of the scene, once it has started; nothing before.
void step_shared_scene();
// While set, pictures are black: on battery, as the settings ask.
void set_shared_black(bool black);

// The present step into the framebuffer bound in window's current context,
// of width x height pixels. Sets the state the scene expects and hands the
// context back in the state Qt Quick's own drawing starts from.
void draw_shared_scene(QQuickWindow* window, int width, int height);
