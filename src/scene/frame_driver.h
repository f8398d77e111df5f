#pragma once
#include <cstdint>

// Where one picture goes in a draw buffer, in pixels from its bottom left.
struct ScreenArea {
    int left;
    int bottom;
    int width;
    int height;
};

// The frame interface that every top, tool and benchmark draws through,
// each keeping its own sizes and areas: step the scene once a frame, then
// draw it into as many buffers or areas as show it.

// The saver's fixed GL state, once in each new context.
void apply_fixed_gl_state();
// Normally the seed comes from the clock, so every run looks different;
// a fixed seed, before the scene starts, reproduces a picture exactly.
void fix_scene_seed(std::uint32_t seed);
// Sizes the views, runs scene setup and draws the first background.
void start_scene(int width, int height);
// The clock and the scene one step on, once a frame however many pictures
// it is drawn into.
void step_frame();
// The picture of the present step into an area of the current draw buffer,
// as if the area were the whole of it; the caller presents it.
void draw_picture(const ScreenArea& area);
// The picture of an area, drawn only within count > 0 parts of it (those
// anyone sees; within their bounding box where they overlap); outside, the
// buffer is black.
void draw_picture_in_parts(const ScreenArea& area, const ScreenArea* parts, int count);
// Pictures of the present step into several areas of one buffer, the
// scissor keeping each picture's clears and fills to its own area; with
// black_around, every pixel outside them black.
void draw_pictures(const ScreenArea* areas, int count, bool black_around = false);
// Another texture on the sphere, the scene going on where it is.
void change_scene_texture(int kind);
// Black over the whole draw buffer, for a saver that stops drawing.
void clear_picture();
// Before a context the scene started in goes, while it is still current:
// lets go of what the scene made in it, and of what it knew bound there, so
// a later context, which may hand out the same names for other objects,
// starts the scene afresh.
void end_scene_context();
// A further context that shares the objects of the one the scene started in
// (another window of the same process): the fixed state, and the lighting
// and fog setup made, there too, the scene going on where it is.
void join_scene_context();
// Before a frame in a context that another drawer uses between the scene's
// frames (a toolkit binding textures of its own): the scene binds again what
// it needs instead of trusting what it bound last.
void forget_scene_bindings();

// The render procedure's own: the client size read at window creation and
// again when it changes,
extern int client_width;
extern int client_height;
// the fixed GL state, then the scene start for the client size,
void set_fixed_gl_state();
// and one frame over the whole client area.
void run_frame();
