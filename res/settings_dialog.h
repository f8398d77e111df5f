// The settings dialog, resource 2003, in dialog units. The Windows resource
// script and the Linux program's dialog table are both made from this one
// description, so that the two cannot drift apart. Each control is
// KIND(text, id, x, y, width, height); a list's height includes its open list.
#pragma once

#define IDC_TEXTURE 1001
#define IDC_STARS 1002
#define IDC_PARTICLES 1003
#define IDC_OVERLAYS 1004
#define IDC_SPEED 1005
#define IDC_FRAME_RATE 1006
#define IDC_MONITORS 1007
#define IDC_ON_BATTERY 1008
#define IDC_BLACK_AFTER 1009
#define IDC_WALLPAPER_FRAME_RATE 1010
// The settings' controls, numbered in the order of the settings table.
#define IDC_FIRST_SETTING IDC_TEXTURE

#define SETTINGS_DIALOG_ID 2003
#define SETTINGS_DIALOG_CAPTION "orbdrift"
#define SETTINGS_DIALOG_WIDTH 200
#define SETTINGS_DIALOG_HEIGHT 208

#define SETTINGS_DIALOG_CONTROLS(LABEL, LIST, CHECK, DEFAULT_BUTTON, BUTTON)                        \
    LABEL("Texture:", -1, 10, 12, 60, 10)                                                          \
    LIST("", IDC_TEXTURE, 80, 10, 110, 130)                                                        \
    CHECK("Stars", IDC_STARS, 10, 30, 180, 10)                                                     \
    CHECK("Particles", IDC_PARTICLES, 10, 44, 180, 10)                                             \
    CHECK("Screen overlays", IDC_OVERLAYS, 10, 58, 180, 10)                                        \
    LABEL("Speed:", -1, 10, 78, 60, 10)                                                            \
    LIST("", IDC_SPEED, 80, 76, 110, 70)                                                           \
    LABEL("Frame rate:", -1, 10, 96, 60, 10)                                                       \
    LIST("", IDC_FRAME_RATE, 80, 94, 110, 50)                                                      \
    LABEL("Monitors:", -1, 10, 114, 60, 10)                                                        \
    LIST("", IDC_MONITORS, 80, 112, 110, 50)                                                       \
    LABEL("On battery:", -1, 10, 132, 60, 10)                                                      \
    LIST("", IDC_ON_BATTERY, 80, 130, 110, 50)                                                     \
    LABEL("Go black after:", -1, 10, 150, 60, 10)                                                  \
    LIST("", IDC_BLACK_AFTER, 80, 148, 110, 60)                                                    \
    LABEL("Wallpaper rate:", -1, 10, 168, 60, 10)                                                  \
    LIST("", IDC_WALLPAPER_FRAME_RATE, 80, 166, 110, 50)                                           \
    DEFAULT_BUTTON("OK", 1, 84, 184, 50, 14)                                                       \
    BUTTON("Cancel", 2, 140, 184, 50, 14)
