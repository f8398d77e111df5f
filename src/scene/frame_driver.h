#pragma once

// The client size read at window creation, and again when it changes.
extern int client_width;
extern int client_height;

// The fixed GL state of the saver, then the scene start for the client size.
void set_fixed_gl_state();

// Sizes the views, runs scene setup and draws the first background.
void start_scene(int width, int height);

// The views follow a window that changed size; the scene goes on as it was.
void resize_scene(int width, int height);

// Where one picture goes, in window pixels from the bottom left.
struct ScreenArea {
    int left;
    int bottom;
    int width;
    int height;
};
constexpr int max_screen_areas = 16;
// With none, one picture fills the window; with some, each area gets a
// picture of its own size from the same step of the scene.
extern ScreenArea screen_areas[max_screen_areas];
extern int screen_area_count;

// One frame into the current draw buffer; the caller presents it.
void run_frame();
// The clock and the scene one step on, once a frame however many pictures
// it is drawn into.
void step_frame();
// The picture of the present step into the current screen area.
void draw_picture();
