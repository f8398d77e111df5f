#include "wayland/wayland_canvas.h"

#include <cstdio>

#include "common/gl.h"
#include "common/pixel_format.h"
#include "scene/frame_driver.h"

namespace
{

// The saver's colour and alpha sizes exactly: a config chosen by its
// smallest sizes may carry ten-bit colour or alpha. The first config offered
// otherwise.
EGLConfig opaque_config(EGLDisplay display, const EGLConfig* configs, EGLint count)
{
    for (EGLint i = 0; i < count; ++i) {
        EGLint red = 0;
        EGLint alpha = 0;
        eglGetConfigAttrib(display, configs[i], EGL_RED_SIZE, &red);
        eglGetConfigAttrib(display, configs[i], EGL_ALPHA_SIZE, &alpha);
        if (red == saver_pixel_format.red_bits && alpha == saver_pixel_format.alpha_bits)
            return configs[i];
    }
    return configs[0];
}

bool make_context(wl_display* display, GlTarget& target)
{
    target.display = eglGetDisplay(reinterpret_cast<EGLNativeDisplayType>(display));
    EGLint major = 0;
    EGLint minor = 0;
    const PixelFormat& format = saver_pixel_format;
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT,    EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_BIT,   EGL_RED_SIZE,      format.red_bits,
                             EGL_GREEN_SIZE,   format.green_bits, EGL_BLUE_SIZE,
                             format.blue_bits, EGL_DEPTH_SIZE,    format.depth_bits,
                             EGL_NONE};
    EGLConfig configs[64];
    EGLint count = 0;
    // The compatibility profile has every call of OpenGL 1.1 the scene makes.
    if (target.display == EGL_NO_DISPLAY || !eglInitialize(target.display, &major, &minor) ||
        !eglBindAPI(EGL_OPENGL_API) ||
        !eglChooseConfig(target.display, wanted, configs, 64, &count) || count < 1)
        return false;
    target.config = opaque_config(target.display, configs, count);
    target.context = eglCreateContext(target.display, target.config, EGL_NO_CONTEXT, nullptr);
    return target.context != EGL_NO_CONTEXT;
}

} // namespace

bool open_gl_target(wl_display* display, GlTarget& target)
{
    if (make_context(display, target))
        return true;
    std::fputs("orbdrift: cannot make an OpenGL context on this compositor\n", stderr);
    return false;
}

// A compositor's word on a size is not trusted to fit a buffer: anything
// beyond what any screen has is left unanswered.
void Canvas::resize(int logical_width, int logical_height)
{
    constexpr int largest = 16384;
    if (logical_width > largest || logical_height > largest || logical_width < 0 ||
        logical_height < 0)
        return;
    width = logical_width;
    height = logical_height;
}

bool Canvas::fit_buffer(const GlTarget& gl)
{
    if (width <= 0 || height <= 0)
        return false;
    if (buffer_scale != scale) { // a buffer of whole logical pixels at the output's scale
        wl_surface_set_buffer_scale(surface, scale);
        buffer_scale = scale;
    }
    const int pixel_width = width * scale;
    const int pixel_height = height * scale;
    if (!window) {
        window = wl_egl_window_create(surface, pixel_width, pixel_height);
        egl_surface = eglCreateWindowSurface(
            gl.display, gl.config, reinterpret_cast<EGLNativeWindowType>(window), nullptr);
        // No surface's swap may wait for another's frame, and the interval
        // belongs to the surface the context is current on.
        if (make_current(gl))
            eglSwapInterval(gl.display, 0);
    } else if (pixel_width != buffer_width || pixel_height != buffer_height) {
        wl_egl_window_resize(window, pixel_width, pixel_height, 0, 0);
    }
    buffer_width = pixel_width;
    buffer_height = pixel_height;
    return egl_surface != EGL_NO_SURFACE;
}

bool Canvas::make_current(const GlTarget& gl)
{
    return egl_surface != EGL_NO_SURFACE &&
           eglMakeCurrent(gl.display, egl_surface, egl_surface, gl.context);
}

void Canvas::frame_shown(void* data, wl_callback* callback, uint32_t)
{
    wl_callback_destroy(callback);
    static_cast<Canvas*>(data)->frame_asked = nullptr;
}

// The callback is asked before the swap, which commits it with the picture.
// The swap itself never waits for it: the swap interval is 0.
void Canvas::present(const GlTarget& gl)
{
    static const wl_callback_listener listener = {frame_shown};
    frame_asked = wl_surface_frame(surface);
    wl_callback_add_listener(frame_asked, &listener, this);
    eglSwapBuffers(gl.display, egl_surface);
}

void Canvas::paint(const GlTarget& gl)
{
    draw_picture({0, 0, buffer_width, buffer_height});
    present(gl);
    shows_black = false;
}

void Canvas::paint_black(const GlTarget& gl)
{
    clear_picture();
    present(gl);
    shows_black = true;
}

void Canvas::destroy(const GlTarget& gl)
{
    if (frame_asked)
        wl_callback_destroy(frame_asked);
    frame_asked = nullptr;
    if (egl_surface != EGL_NO_SURFACE) {
        eglMakeCurrent(gl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroySurface(gl.display, egl_surface);
    }
    if (window)
        wl_egl_window_destroy(window);
    if (surface)
        wl_surface_destroy(surface);
    egl_surface = EGL_NO_SURFACE;
    window = nullptr;
    surface = nullptr;
}
