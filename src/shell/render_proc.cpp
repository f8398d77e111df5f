#include "shell/render_proc.h"

#include <algorithm>

#include "common/pixel_format.h"
#include "common/saver_limits.h"
#include "scene/frame_driver.h"
#include "scene/frame_pace.h"
#include "scene/scene_settings.h"
#include "shell/display_refresh.h"
#include "shell/monitor_areas.h"
#include "shell/power_state.h"
#include "shell/saver_window.h"
#include "shell/start_choices.h"
#include "shell/window_chain.h"

UINT frame_interval_ms = full_rate_frame_interval_ms;
HDC render_dc = nullptr;
HGLRC render_glrc = nullptr;

namespace
{

// A picture on each of the window's monitors, or on its main one, or
// whole_window for one over it all.
ScreenArea monitor_pictures[max_monitor_pictures];
int monitor_picture_count = whole_window;
// A wallpaper's monitors, of which one picture across them all is drawn only
// on those seen.
ScreenArea wallpaper_parts[max_monitor_pictures];
int wallpaper_part_count = 0;
// Frames still to clear what no picture covers, left from before the layout.
int clears_due = 0;

DWORD started_ms = 0;
bool black_shown = false; // and nothing drawn since
FrameSchedule frame_schedule;

void show_black()
{
    if (black_shown)
        return;
    clear_picture();
    SwapBuffers(render_dc);
    black_shown = true;
}

// Where no picture goes, a new layout may leave what an old one drew there.
// Pictures draw only inside their own areas, so one clear of each buffer a
// swap may hand back (the two of double buffering) keeps that black.
void lay_out(HWND window)
{
    monitor_picture_count = lay_out_monitors(window, monitor_pictures);
    wallpaper_part_count = wallpaper_monitors(window, wallpaper_parts);
    clears_due = 2;
}

// What nobody sees is not drawn; black is the fastest way to fill it.
void draw_frame()
{
    ScreenArea seen[max_monitor_pictures];
    if (monitor_picture_count != whole_window) {
        step_frame();
        const int count = seen_pictures(render_dc, monitor_pictures, monitor_picture_count, seen);
        // The other monitors black every frame: a swap leaves no buffer known.
        draw_pictures(seen, count,
                      scene_settings.monitors == monitors_main || clears_due > 0 ||
                          count < monitor_picture_count);
    } else if (const int count =
                   seen_pictures(render_dc, wallpaper_parts, wallpaper_part_count, seen);
               count < wallpaper_part_count) {
        step_frame();
        if (count > 0)
            draw_picture_in_parts({0, 0, client_width, client_height}, seen, count);
    } else {
        run_frame();
    }
    SwapBuffers(render_dc);
    clears_due = std::max(clears_due - 1, 0);
    black_shown = false;
}

// The frames' period: the settings' rate, slower on battery where they ask,
// and no faster than the display shows them.
double frame_period()
{
    return refresh_limited(tick_interval(frame_interval_ms, running_on_battery));
}

bool stopped_for_good()
{
    return frame_work(running_on_battery, display_off, GetTickCount() - started_ms) ==
           FrameWork::black_end;
}

// 0 leaves the timer as it is.
void set_frame_timer(HWND window, unsigned interval_ms)
{
    if (interval_ms)
        SetTimer(window, frame_timer_id, interval_ms, nullptr);
}

void tick(HWND window)
{
    const DWORD now = GetTickCount();
    if (wallpaper_mode && scene_settings.texture_varies)
        if (const int texture = texture_of_a_new_day(); texture >= 0)
            change_scene_texture(texture);
    switch (frame_work(running_on_battery, display_off, now - started_ms)) {
    case FrameWork::draw:
        draw_frame();
        break;
    case FrameWork::step:
        step_frame();
        break;
    case FrameWork::black:
        step_frame();
        show_black();
        break;
    case FrameWork::black_end:
        show_black();
        KillTimer(window, frame_timer_id);
        return;
    }
    set_frame_timer(window, frame_schedule.ticked(frame_period(), now, GetTickCount()));
}

// The period may have changed, unless the timer has stopped for good.
void pace(HWND window)
{
    if (!stopped_for_good())
        set_frame_timer(window, frame_schedule.changed(frame_period(), GetTickCount()));
}

} // namespace

// To a window, double-buffered; no stencil, accumulation or overlay planes.
const PIXELFORMATDESCRIPTOR pixel_format = [] {
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = static_cast<WORD>(sizeof format);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = static_cast<BYTE>(saver_pixel_format.colour_bits());
    format.cAlphaBits = static_cast<BYTE>(saver_pixel_format.alpha_bits);
    format.cDepthBits = static_cast<BYTE>(saver_pixel_format.depth_bits);
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}();

LRESULT CALLBACK render_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_CREATE: {
        RECT client{};
        GetClientRect(window, &client);
        client_width = client.right;
        client_height = client.bottom;
        make_gl_context(window, &render_dc, &render_glrc);
        set_fixed_gl_state();
        lay_out(window);
        read_display_refresh();
        started_ms = GetTickCount();
        watch_power(window);
        static_assert(USER_TIMER_MINIMUM == shortest_frame_interval_ms);
        if (!stopped_for_good())
            set_frame_timer(window, frame_schedule.started(frame_period(), started_ms));
        return 0;
    }
    case WM_POWERBROADCAST:
        // Only the changes the saver asked to be told of pause it or slow it
        // down; every other power message is one of the close rules'.
        if (wparam != PBT_POWERSETTINGCHANGE || !lparam ||
            !take_power_setting(*reinterpret_cast<const POWERBROADCAST_SETTING*>(lparam)))
            return close_rules_proc(window, message, wparam, lparam);
        pace(window);
        return TRUE;
    case WM_DISPLAYCHANGE: // monitors came, went, moved or changed their mode while saving
        lay_out(window);
        read_display_refresh();
        pace(window);
        return 0;
    case WM_SIZE: // on Linux, a display mode's window or a screen that changed size
        client_width = LOWORD(lparam);
        client_height = HIWORD(lparam);
        lay_out(window);
        return 0;
    case WM_TIMER: // any timer draws: the saver has only this one
        tick(window);
        return 0;
    case WM_DESTROY:
        KillTimer(window, frame_timer_id);
        stop_watching_power();
        end_scene_context();
        release_gl_context(window, render_dc, render_glrc);
        return 0;
    default:
        return close_rules_proc(window, message, wparam, lparam);
    }
}

// No step is checked: without a context the GL calls do nothing, and the
// window, its timer and the close rules still work.
void make_gl_context(HWND window, HDC* dc, HGLRC* context)
{
    *dc = GetDC(window);
    const int format = ChoosePixelFormat(*dc, &pixel_format);
    SetPixelFormat(*dc, format, &pixel_format);
    *context = wglCreateContext(*dc);
    wglMakeCurrent(*dc, *context);
    ask_one_refresh_per_swap();
}

void release_gl_context(HWND window, HDC dc, HGLRC context)
{
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    ReleaseDC(window, dc);
}
