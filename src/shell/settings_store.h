#pragma once
#include "platform/win32.h"
#include "scene/scene_settings.h"

// The settings as they are kept: one value each under this key of
// HKEY_CURRENT_USER, the registry on Windows and a file elsewhere.
extern const char* const settings_key;
// The value under the key that remembers the last start's texture.
extern const char* const last_texture_value;

// A texture kept by name under key: its kind, or fallback for none or a
// name no settings texture has.
int read_texture_value(HKEY key, const char* name, int fallback);
LSTATUS write_texture_value(HKEY key, const char* name, int kind);

// The saved settings; a value that is missing, of another type or out of
// range counts as its default. Numbers between the choices the dialog offers
// are kept as they are.
SceneSettings read_saved_settings();
// The texture the last start of the saver showed, -1 for none known.
int read_last_texture();
// Writes every setting: ERROR_SUCCESS, or why one could not be written.
LSTATUS write_settings(const SceneSettings& settings);
