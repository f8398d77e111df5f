#include "wayland/wayland_canvas.h"

#include <cstdio>

#include "common/gl.h"
#include "scene/frame_driver.h"

bool open_gl_target(wl_display* display, GlTarget& target)
{
    target.display = eglGetDisplay(reinterpret_cast<EGLNativeDisplayType>(display));
    EGLint major = 0;
    EGLint minor = 0;
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                             EGL_RED_SIZE,     8,              EGL_GREEN_SIZE,      8,
                             EGL_BLUE_SIZE,    8,              EGL_DEPTH_SIZE,      16,
                             EGL_NONE};
    EGLConfig configs[64];
    EGLint count = 0;
    // The compatibility profile has every call of OpenGL 1.1 the scene makes.
    if (target.display == EGL_NO_DISPLAY || !eglInitialize(target.display, &major, &minor) ||
        !eglBindAPI(EGL_OPENGL_API) ||
        !eglChooseConfig(target.display, wanted, configs, 64, &count) || count < 1) {
        std::fputs("orbdrift: cannot make an OpenGL context on this compositor\n", stderr);
        return false;
    }
    // Eight bits a colour and no alpha: the scene leaves alpha at whatever it
    // drew, where a compositor would show the desktop through, and not every
    // compositor shows ten-bit buffers.
    target.config = configs[0];
    for (int i = count; i-- > 0;) {
        EGLint red = 0;
        EGLint alpha = 0;
        eglGetConfigAttrib(target.display, configs[i], EGL_RED_SIZE, &red);
        eglGetConfigAttrib(target.display, configs[i], EGL_ALPHA_SIZE, &alpha);
        if (red == 8 && alpha == 0)
            target.config = configs[i];
    }
    target.context = eglCreateContext(target.display, target.config, EGL_NO_CONTEXT, nullptr);
    if (target.context == EGL_NO_CONTEXT) {
        std::fputs("orbdrift: cannot make an OpenGL context on this compositor\n", stderr);
        return false;
    }
    return true;
}

void Canvas::resize(int logical_width, int logical_height, int output_scale)
{
    width = logical_width;
    height = logical_height;
    scale = output_scale > 0 ? output_scale : 1;
}

bool Canvas::make_current(const GlTarget& gl)
{
    if (width <= 0 || height <= 0)
        return false;
    if (buffer_scale != scale) { // a buffer of whole logical pixels at the output's scale
        wl_surface_set_buffer_scale(surface, scale);
        buffer_scale = scale;
    }
    if (!window) {
        window = wl_egl_window_create(surface, width * scale, height * scale);
        egl_surface = eglCreateWindowSurface(gl.display, gl.config,
                                             reinterpret_cast<EGLNativeWindowType>(window), nullptr);
    } else {
        wl_egl_window_resize(window, width * scale, height * scale, 0, 0);
    }
    if (egl_surface == EGL_NO_SURFACE ||
        !eglMakeCurrent(gl.display, egl_surface, egl_surface, gl.context))
        return false;
    eglSwapInterval(gl.display, 0); // no surface's swap waits for another's frame
    client_width = width * scale;
    client_height = height * scale;
    return true;
}

void Canvas::paint(const GlTarget& gl)
{
    resize_scene(client_width, client_height);
    draw_picture();
    eglSwapBuffers(gl.display, egl_surface);
}

void Canvas::destroy(const GlTarget& gl)
{
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
