#include "tools/offscreen_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "common/gl.h"
#include "common/pixel_format.h"

namespace
{

EGLDisplay surfaceless_display()
{
    const auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!get_platform_display)
        return EGL_NO_DISPLAY;
    return get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

} // namespace

OffscreenContext::OffscreenContext(int width, int height) : width_(width), height_(height)
{
    EGLDisplay display = surfaceless_display();
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr))
        return;
    display_ = display;
    const PixelFormat& format = saver_pixel_format;
    const EGLint config_attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,   EGL_RENDERABLE_TYPE,
                                        EGL_OPENGL_BIT,   EGL_RED_SIZE,      format.red_bits,
                                        EGL_GREEN_SIZE,   format.green_bits, EGL_BLUE_SIZE,
                                        format.blue_bits, EGL_DEPTH_SIZE,    format.depth_bits,
                                        EGL_NONE};
    EGLConfig config = nullptr;
    EGLint found = 0;
    if (!eglChooseConfig(display, config_attributes, &config, 1, &found) || found < 1)
        return;
    const EGLint surface_attributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surface_attributes);
    if (surface == EGL_NO_SURFACE)
        return;
    surface_ = surface;
    if (!eglBindAPI(EGL_OPENGL_API))
        return;
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT)
        return;
    if (!eglMakeCurrent(display, surface, surface, context)) {
        eglDestroyContext(display, context);
        return;
    }
    context_ = context;
}

OffscreenContext::~OffscreenContext()
{
    if (!display_)
        return;
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_)
        eglDestroyContext(display_, context_);
    if (surface_)
        eglDestroySurface(display_, surface_);
    // The display is not terminated: EGL hands every caller the same one, so
    // it belongs to the process, and terminating it unloads a driver that
    // still holds memory.
}

std::vector<std::uint8_t> OffscreenContext::read_rgb() const
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width_) * height_ * 3);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
