// X events, as the server or another client could send them, into the host
// layer's event handling and then its queue, under a private Xvfb. No message
// may reach a window procedure that its events do not stand for.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/win32.h"
#include "platform/x11_internal.h"
#include "support/xvfb_server.h"

namespace
{

struct Message {
    HWND window;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    bool exact; // parameters checked too: a client message names them all
};

std::vector<Message> seen;
std::vector<Message> allowed;
HWND ours = nullptr;
Window foreign = 0;

const int event_types[] = {KeyPress, ButtonPress, ButtonRelease,   MotionNotify,
                           FocusOut, Expose,      ClientMessage,   DestroyNotify,
                           FocusIn,  MapNotify,   ConfigureNotify, PropertyNotify};

const long posted_messages[] = {WM_CLOSE, WM_CONTEXTMENU, WM_TIMER,  WM_DESTROY,
                                WM_QUIT,  WM_PAINT,       WM_KEYDOWN};

LRESULT CALLBACK recording_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    seen.push_back({window, message, wparam, lparam, true});
    return 0;
}

// Every message an input made is handled with it: one left over would be
// blamed on the next input. A queue that never empties is a hang, for
// libFuzzer's timeout to report.
void drain()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// An input may end our window with a destruction event; the next one gets a
// new window, with what the server says about it already handled.
void ensure_window()
{
    if (ours && x11::own_window(x11::xid(ours)))
        return;
    if (ours)
        XDestroyWindow(x11::display(), x11::xid(ours));
    ours = CreateWindowExA(0, "FuzzClass", "Fuzz", WS_VISIBLE, 0, 0, 64, 64, nullptr, nullptr,
                           nullptr, nullptr);
    if (!ours)
        std::abort();
    XSync(x11::display(), False);
    drain();
}

const UINT button_downs[] = {WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN};

void allow(UINT message)
{
    allowed.push_back({ours, message, 0, 0, false});
}

void allow_what_it_stands_for(const XEvent& event)
{
    if (event.type == DestroyNotify && event.xdestroywindow.window == x11::xid(ours))
        allow(WM_DESTROY);
    if (event.type == ConfigureNotify && event.xconfigure.window == x11::xid(ours))
        allow(WM_SIZE);
    if (event.xany.window != x11::xid(ours))
        return;
    switch (event.type) {
    case KeyPress:
        allow(WM_KEYDOWN);
        allow(WM_SYSKEYDOWN);
        break;
    case ButtonPress: // buttons 1, 2 and 3 are left, middle and right on Windows
        if (event.xbutton.button >= Button1 && event.xbutton.button <= Button3)
            allow(button_downs[event.xbutton.button - Button1]);
        break;
    case ButtonRelease:
        allow(WM_RBUTTONUP);
        break;
    case MotionNotify:
        allow(WM_MOUSEMOVE);
        break;
    case FocusOut:
        allow(WM_ACTIVATEAPP);
        break;
    case Expose:
        allow(WM_PAINT);
        break;

    case ClientMessage: { // another client may only ask to close or for a context menu
        if (x11::is_close_request(event.xclient))
            allow(WM_CLOSE);
        // A message number is a UINT, on the wire and on Windows alike.
        const auto message = static_cast<UINT>(event.xclient.data.l[0]);
        if (message == WM_CLOSE || message == WM_CONTEXTMENU)
            allowed.push_back({ours, message, static_cast<WPARAM>(event.xclient.data.l[1]),
                               static_cast<LPARAM>(event.xclient.data.l[2]), true});
        break;
    }
    default:
        break;
    }
}

// A message that a client message names exactly is taken for that one first,
// so that it does not use up what another event of the same kind allows.
bool take_allowed(const Message& m)
{
    for (const bool exact : {true, false}) {
        const auto it = std::find_if(allowed.begin(), allowed.end(), [&](const Message& a) {
            return a.exact == exact && a.window == m.window && a.message == m.message &&
                   (!exact || (a.wparam == m.wparam && a.lparam == m.lparam));
        });
        if (it != allowed.end()) {
            allowed.erase(it);
            return true;
        }
    }
    return false;
}

XEvent make_event(FuzzedDataProvider& input)
{
    XEvent event;
    std::memset(&event, 0, sizeof event);
    const std::vector<std::uint8_t> fields = input.ConsumeBytes<std::uint8_t>(
        input.ConsumeIntegralInRange<std::size_t>(0, sizeof event));
    if (!fields.empty())
        std::memcpy(&event, fields.data(), fields.size());

    const std::size_t choice = input.ConsumeIntegralInRange<std::size_t>(0, std::size(event_types));
    event.type =
        choice < std::size(event_types) ? event_types[choice] : input.ConsumeIntegral<int>();
    const Window targets[] = {x11::xid(ours), foreign, event.xany.window};
    const Window target = targets[input.ConsumeIntegralInRange(0, 2)];
    event.xany.window = target;
    if (event.type == DestroyNotify)
        event.xdestroywindow.window = target;
    if (event.type == ConfigureNotify)
        event.xconfigure.window = target;
    if (input.ConsumeBool()) {
        // A small value where the handling looks, so that short inputs reach
        // every case without guessing the bytes of a field.
        const int detail = input.ConsumeIntegralInRange(0, 7);
        switch (event.type) {
        case KeyPress:
            event.xkey.state = (detail & 1) ? Mod1Mask : 0;
            break;
        case ButtonPress:
        case ButtonRelease:
            event.xbutton.button = static_cast<unsigned>(detail);
            break;
        case FocusOut:
            event.xfocus.mode = detail & 3;
            event.xfocus.detail = detail;
            break;
        case Expose:
            event.xexpose.count = detail & 1;
            break;
        default:
            break;
        }
    }
    if (event.type == ClientMessage && input.ConsumeBool()) {
        // Another client's message, as PostMessageA sends to a foreign window.
        event.xclient.message_type = x11::atom("_ORBDRIFT_WIN32_MESSAGE");
        event.xclient.format = 32;
        const std::size_t message =
            input.ConsumeIntegralInRange<std::size_t>(0, std::size(posted_messages));
        if (message < std::size(posted_messages))
            event.xclient.data.l[0] = posted_messages[message];
    }
    return event;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Destroyed at exit; after a crash the server goes with its parent.
    static XvfbServer server(false);
    if (!server.running() || !x11::display()) {
        std::fputs("x11_events_fuzzer: no private Xvfb\n", stderr);
        std::exit(1);
    }
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = recording_proc;
    window_class.lpszClassName = "FuzzClass";
    RegisterClassA(&window_class);
    // A window the host layer did not make: events for it must be ignored.
    Display* d = x11::display();
    foreign = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 8, 8, 0, 0, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ensure_window();
    seen.clear();
    allowed.clear();
    FuzzedDataProvider input(data, size);
    while (input.remaining_bytes() > 0) {
        const XEvent event = make_event(input);
        allow_what_it_stands_for(event);
        x11::handle_event(event);
    }
    drain();
    for (const Message& m : seen)
        if (!take_allowed(m)) {
            std::fprintf(stderr, "unexpected message 0x%x (wparam %#lx, lparam %#lx) to %s\n",
                         m.message, static_cast<unsigned long>(m.wparam),
                         static_cast<unsigned long>(m.lparam),
                         m.window == ours ? "our window" : "another window");
            std::abort();
        }
    return 0;
}
