#pragma once
// The root's children as a person sees them, kept from their events as
// follow_stacking is given them (true where one changed anything) once
// keep_stacking has read them, on the one connection a process follows them
// on: the host layer's, or the Plasma wallpaper's own. Where it runs among
// other X clients of the process, the caller keeps protocol errors of windows
// gone between two questions from ending it.
//
// What the windows stacked over a child of the root show, mapped, drawn in,
// opaque and not a menu of a moment, and what a window shows of a box of the
// screen through its shape: new regions.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace x11
{

void keep_stacking(Display* d);
bool follow_stacking(Display* d, const XEvent& event);
Region shown_over(Display* d, Window child);
Region shown_by(Display* d, Window id, const XRectangle& box);
// A window's shape is told of once watched, until it is gone.
void watch_shape(Display* d, Window id);
bool is_shape_change(const XEvent& event, Window id);

// Of the root's children, the window itself or the frame a window manager
// put it in.
Window top_level(Display* d, Window id);
// Where a window the window manager keeps full-screen and not minimised is
// on the screen; false for any other, or one gone.
bool full_screen_box(Display* d, Window window, XRectangle& box);
// The window the window manager names as focused; None without one.
Window active_window(Display* d);

} // namespace x11
