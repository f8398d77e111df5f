// The OpenGL binding on GLX. X fixes a window's visual when the window is
// made, so every window is made with a visual that can hold the saver's pixel
// format, and choosing the format later only confirms it.
#include <GL/glx.h>
#include <GL/glxext.h>

#include <cstring>

#include "common/pixel_format.h"
#include "platform/x11_internal.h"

namespace
{

x11::OwnWindow* window_of(HDC dc)
{
    return x11::own_window(static_cast<Window>(reinterpret_cast<std::uintptr_t>(dc)));
}

int visual_value(XVisualInfo* visual, int attribute)
{
    int value = 0;
    glXGetConfig(x11::display(), visual, attribute, &value);
    return value;
}

bool satisfies(XVisualInfo* visual, const PIXELFORMATDESCRIPTOR& wanted)
{
    const bool double_buffered = visual_value(visual, GLX_DOUBLEBUFFER) != 0;
    return (wanted.dwFlags & PFD_SUPPORT_OPENGL) && wanted.iPixelType == PFD_TYPE_RGBA &&
           double_buffered == ((wanted.dwFlags & PFD_DOUBLEBUFFER) != 0) &&
           visual_value(visual, GLX_BUFFER_SIZE) >= wanted.cColorBits &&
           visual_value(visual, GLX_DEPTH_SIZE) >= wanted.cDepthBits;
}

} // namespace

namespace x11
{

XVisualInfo* gl_visual(int screen)
{
    // One a screen, chosen on first use and kept for the process; null where
    // the server has no GLX.
    constexpr int known_screens = 16;
    static XVisualInfo* visuals[known_screens] = {};
    static bool chosen[known_screens] = {};
    Display* d = display();
    if (!d || screen < 0 || screen >= known_screens)
        return nullptr;
    int error_base = 0;
    int event_base = 0;
    if (!chosen[screen] && glXQueryExtension(d, &error_base, &event_base)) {
        const PixelFormat& format = saver_pixel_format;
        int attributes[] = {GLX_RGBA,       GLX_DOUBLEBUFFER,  GLX_RED_SIZE,  format.red_bits,
                            GLX_GREEN_SIZE, format.green_bits, GLX_BLUE_SIZE, format.blue_bits,
                            GLX_DEPTH_SIZE, format.depth_bits, None};
        visuals[screen] = glXChooseVisual(d, screen, attributes);
    }
    chosen[screen] = true;
    return visuals[screen];
}

} // namespace x11

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor)
{
    const x11::OwnWindow* window = window_of(dc);
    return window && window->gl_visual && descriptor && satisfies(window->gl_visual, *descriptor)
               ? 1
               : 0;
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor)
{
    if (format != ChoosePixelFormat(dc, descriptor) || format == 0)
        return FALSE;
    window_of(dc)->pixel_format_set = true;
    return TRUE;
}

HGLRC wglCreateContext(HDC dc)
{
    const x11::OwnWindow* window = window_of(dc);
    if (!window || !window->pixel_format_set)
        return nullptr;
    return reinterpret_cast<HGLRC>(
        glXCreateContext(x11::display(), window->gl_visual, nullptr, True));
}

BOOL wglMakeCurrent(HDC dc, HGLRC context)
{
    Display* d = x11::display();
    if (!d)
        return FALSE;
    if (!context)
        return glXMakeCurrent(d, None, nullptr) ? TRUE : FALSE;
    const x11::OwnWindow* window = window_of(dc);
    if (!window || !window->pixel_format_set)
        return FALSE;
    return glXMakeCurrent(d, window->id, reinterpret_cast<GLXContext>(context)) ? TRUE : FALSE;
}

BOOL wglDeleteContext(HGLRC context)
{
    Display* d = x11::display();
    if (!d || !context)
        return FALSE;
    const auto glx_context = reinterpret_cast<GLXContext>(context);
    if (glXGetCurrentContext() == glx_context)
        glXMakeCurrent(d, None, nullptr);
    glXDestroyContext(d, glx_context);
    return TRUE;
}

BOOL SwapBuffers(HDC dc)
{
    const x11::OwnWindow* window = window_of(dc);
    if (!window || !window->pixel_format_set)
        return FALSE;
    glXSwapBuffers(x11::display(), window->id);
    return TRUE;
}

namespace
{

bool has_glx_extension(Display* d, const char* name)
{
    const char* list = glXQueryExtensionsString(d, DefaultScreen(d));
    const std::size_t length = std::strlen(name);
    for (const char* at = list; at && (at = std::strstr(at, name)); at += length)
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0'))
            return true;
    return false;
}

// The current drawable waits for that many refreshes a swap, through
// whichever of GLX's two swap controls the driver offers.
BOOL WINAPI swap_interval(int refreshes)
{
    Display* d = x11::display();
    if (has_glx_extension(d, "GLX_EXT_swap_control")) {
        const auto set = reinterpret_cast<PFNGLXSWAPINTERVALEXTPROC>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        set(d, glXGetCurrentDrawable(), refreshes);
        return TRUE;
    }
    const auto set = reinterpret_cast<PFNGLXSWAPINTERVALMESAPROC>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
    return set && set(static_cast<unsigned>(refreshes)) == 0 ? TRUE : FALSE;
}

} // namespace

PROC wglGetProcAddress(LPCSTR name)
{
    Display* d = x11::display();
    if (!d || !name || std::strcmp(name, "wglSwapIntervalEXT") != 0 || !glXGetCurrentContext() ||
        !(has_glx_extension(d, "GLX_EXT_swap_control") ||
          has_glx_extension(d, "GLX_MESA_swap_control")))
        return nullptr;
    return reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(swap_interval));
}
