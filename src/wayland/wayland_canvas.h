#pragma once
#include <EGL/egl.h>
#include <wayland-client.h>
#include <wayland-egl.h>

// The one GL context of the Wayland mode, shared by every surface, so the
// scene and its texture are made once.
struct GlTarget {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLConfig config = nullptr;
    EGLContext context = EGL_NO_CONTEXT;
};

// Connects EGL to the compositor with an OpenGL (compatibility) context;
// false, with one line on stderr, when that cannot be had.
bool open_gl_target(wl_display* display, GlTarget& target);

// A surface the scene is drawn on, in logical pixels times its output's scale.
class Canvas
{
public:
    virtual ~Canvas() = default;

    // The size the compositor gave; the buffer follows at the next draw, as
    // it follows a new scale.
    void resize(int logical_width, int logical_height);
    // Its buffer made, or fitted to its size and scale; false until it has a
    // size.
    bool fit_buffer(const GlTarget& gl);
    bool make_current(const GlTarget& gl);
    // Whether the compositor wants a new picture here: until the first is
    // presented, then again when it says the last was shown. An output that
    // is off or a surface it does not show never says so.
    bool wants_frame() const { return !frame_asked; }
    // Presents the scene's present step, or black; the caller steps the
    // scene once for all canvases. Either asks the compositor to say when
    // the picture was shown.
    void paint(const GlTarget& gl);
    void paint_black(const GlTarget& gl);
    void destroy(const GlTarget& gl);

    wl_surface* surface = nullptr;
    wl_egl_window* window = nullptr;
    EGLSurface egl_surface = EGL_NO_SURFACE;
    int width = 0; // logical
    int height = 0;
    int scale = 1; // its output's
    // The buffer as it was last made or fitted, in pixels: no scale before.
    int buffer_width = 0;
    int buffer_height = 0;
    int buffer_scale = 0;
    bool shows_black = false; // and nothing drawn since

private:
    void present(const GlTarget& gl);
    static void frame_shown(void* data, wl_callback* callback, uint32_t);

    wl_callback* frame_asked = nullptr;
};
