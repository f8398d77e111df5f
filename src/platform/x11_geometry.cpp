#include <dlfcn.h>

#include <X11/Xlib.h>

// Mesa's software renderer asks a window's size with XGetGeometry before it
// draws, and when a host has just destroyed the window it goes on with
// whatever its variables held: a buffer of a garbage size, cleared for
// minutes or written past its end. The program exports this definition
// ahead of Xlib's, so that a window that is gone measures 0 x 0.
extern "C" Status XGetGeometry(Display* d, Drawable drawable, Window* root, int* x, int* y,
                               unsigned* width, unsigned* height, unsigned* border, unsigned* depth)
{
    using Query = Status (*)(Display*, Drawable, Window*, int*, int*, unsigned*, unsigned*,
                             unsigned*, unsigned*);
    static const auto query = reinterpret_cast<Query>(dlsym(RTLD_NEXT, "XGetGeometry"));
    *root = 0;
    *x = *y = 0;
    *width = *height = *border = *depth = 0;
    return query(d, drawable, root, x, y, width, height, border, depth);
}
