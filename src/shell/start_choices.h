#pragma once
#include <functional>

#include "scene/scene_settings.h"

// What each start of the saver settles for itself, in its settings, before
// the scene is set up: whether the desktop asks for less motion (one
// question, SPI_GETCLIENTAREAANIMATION, which every host answers), and, for
// a texture that is a different one each time, which one this start shows.
// That one is remembered under the settings key for the next start.
void settle_start_choices(SceneSettings& settings);

// A wallpaper, which runs for days, shows such a texture for a day: the one
// for a new local day since the start or the last call, remembered as a
// start's is; -1 while the day is the same.
int texture_of_a_new_day();

// Where a start's texture is drawn from: a source of its own, so that the
// scene's generator and its order of draws stay as they are. The system's
// randomness unless a test fixes it.
extern std::function<unsigned()> texture_draw;
