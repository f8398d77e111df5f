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

// One frame into the current draw buffer; the caller presents it.
void run_frame();
