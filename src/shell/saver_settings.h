#pragma once
#include "platform/win32.h"
#include "scene/scene_settings.h"

// Where the settings live: one value each under this key of HKEY_CURRENT_USER.
extern const char* const settings_key;

// A texture kept by name under key: its kind, or fallback for none or a
// name no settings texture has.
int read_texture_value(HKEY key, const char* name, int fallback);
LSTATUS write_texture_value(HKEY key, const char* name, int kind);

// The saved settings; a value that is missing, of another type or out of
// range counts as its default. Numbers between the choices the dialog offers
// are kept as they are.
SceneSettings read_saved_settings();
// Every mode starts with the saved settings and the frame rate they ask for.
void use_saved_settings();
// Writes every setting. When one cannot be written it tells the person why,
// in a message box over owner, and answers false.
bool save_settings(HWND owner, const SceneSettings& settings);

// The settings dialog: it opens with the settings in use, OK saves what it
// shows (and ends with 1), Cancel saves nothing (and ends with 0), as does a
// save that failed.
INT_PTR CALLBACK config_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
BOOL prepare_config_dialog(HINSTANCE instance);
