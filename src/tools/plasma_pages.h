#pragma once
// The wallpaper plugin's files that list settings, written from the settings
// table: its configuration schema, the script that turns a configuration into
// the scene's options, and its configuration page.
#include <string>

std::string plasma_config_schema();
std::string plasma_settings_script();
std::string plasma_config_page();
