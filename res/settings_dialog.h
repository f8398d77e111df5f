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
#define IDC_MOTION 1011
// The settings' controls, numbered in the order of the settings table.
#define IDC_FIRST_SETTING IDC_TEXTURE

#define SETTINGS_DIALOG_ID 2003
#define SETTINGS_DIALOG_CAPTION "orbdrift"
#define SETTINGS_DIALOG_WIDTH 200
// Only a desktop with a wallpaper (SETTINGS_DIALOG_WALLPAPER 1, as the
// includer says) has its row; the buttons go below the last row.
#define SETTINGS_DIALOG_BUTTONS_Y (172 + 18 * SETTINGS_DIALOG_WALLPAPER)
#define SETTINGS_DIALOG_HEIGHT (SETTINGS_DIALOG_BUTTONS_Y + 24)

#if SETTINGS_DIALOG_WALLPAPER
#define SETTINGS_DIALOG_WALLPAPER_ROW(LABEL, LIST)                                                 \
    LABEL("Wallpaper rate:", -1, 10, 172, 60, 10)                                                  \
    LIST("", IDC_WALLPAPER_FRAME_RATE, 80, 170, 110, 50)
#else
#define SETTINGS_DIALOG_WALLPAPER_ROW(LABEL, LIST)
#endif

// No control for the stars: the sphere paints over them.
#define SETTINGS_DIALOG_CONTROLS(LABEL, LIST, CHECK, DEFAULT_BUTTON, BUTTON)                        \
    LABEL("Texture:", -1, 10, 12, 60, 10)                                                          \
    LIST("", IDC_TEXTURE, 80, 10, 110, 140)                                                        \
    CHECK("Particles", IDC_PARTICLES, 10, 30, 180, 10)                                             \
    CHECK("Screen overlays", IDC_OVERLAYS, 10, 44, 180, 10)                                        \
    LABEL("Speed:", -1, 10, 64, 60, 10)                                                            \
    LIST("", IDC_SPEED, 80, 62, 110, 70)                                                           \
    LABEL("Frame rate:", -1, 10, 82, 60, 10)                                                       \
    LIST("", IDC_FRAME_RATE, 80, 80, 110, 50)                                                      \
    LABEL("Monitors:", -1, 10, 100, 60, 10)                                                        \
    LIST("", IDC_MONITORS, 80, 98, 110, 50)                                                        \
    LABEL("Power saving:", -1, 10, 118, 60, 10)                                                    \
    LIST("", IDC_ON_BATTERY, 80, 116, 110, 50)                                                     \
    LABEL("Go black after:", -1, 10, 136, 60, 10)                                                  \
    LIST("", IDC_BLACK_AFTER, 80, 134, 110, 60)                                                    \
    LABEL("Motion:", -1, 10, 154, 60, 10)                                                          \
    LIST("", IDC_MOTION, 80, 152, 110, 50)                                                         \
    SETTINGS_DIALOG_WALLPAPER_ROW(LABEL, LIST)                                                     \
    DEFAULT_BUTTON("OK", 1, 84, SETTINGS_DIALOG_BUTTONS_Y, 50, 14)                                 \
    BUTTON("Cancel", 2, 140, SETTINGS_DIALOG_BUTTONS_Y, 50, 14)
