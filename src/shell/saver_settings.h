#pragma once
#include "platform/win32.h"
#include "scene/scene_settings.h"
#include "shell/settings_store.h"

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
