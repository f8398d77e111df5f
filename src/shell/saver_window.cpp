#include "shell/saver_window.h"

#include "shell/close_rules.h"
#include "shell/entry_point.h"
#include "shell/saver_process.h"
#include "shell/start_choices.h"
#include "shell/window_chain.h"

HWND saver_window = nullptr;
BOOL preview_mode = FALSE;
BOOL wallpaper_mode = FALSE;
BOOL close_confirmed = FALSE;
BOOL verifying_password = FALSE;
HMODULE password_library = nullptr;
VerifyPasswordProc verify_password = nullptr;
UINT autoplay_message = 0;
HMODULE input_method_module = nullptr;
AssociateContextProc associate_input_context = nullptr;
InputContext previous_input_context = nullptr;
POINT mouse_reference = {0, 0};
DWORD last_password_check = 0xFFFFFFFFu;

const char* const saver_class_name = "WindowsScreenSaverClass";

namespace
{

const char* const saving_title = "Screen Saver";

void detach_input_method(HWND window)
{
    input_method_module = GetModuleHandleA("IMM32.DLL");
    if (input_method_module)
        associate_input_context =
            entry_point<AssociateContextProc>(input_method_module, "ImmAssociateContext");
    if (associate_input_context)
        previous_input_context = associate_input_context(window, nullptr);
}

void restore_input_method(HWND window)
{
    if (input_method_module && associate_input_context && previous_input_context)
        associate_input_context(window, previous_input_context);
}

bool is_input(UINT message)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

} // namespace

int run_saver(HWND parent)
{
    WNDCLASSA window_class{};
    window_class.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = saver_window_proc;
    window_class.hInstance = module_instance;
    window_class.hIcon = LoadIconA(module_instance, MAKEINTRESOURCEA(100));
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    window_class.lpszClassName = saver_class_name;

    RECT area{};
    DWORD style = 0;
    DWORD ex_style = 0;
    LPCSTR title = nullptr;
    if (parent) {
        GetClientRect(parent, &area);
        preview_mode = TRUE;
        style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
        title = "Preview";
    } else {
        const HDC screen = GetDC(nullptr);
        GetClipBox(screen, &area);
        ReleaseDC(nullptr, screen);
        style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        ex_style = WS_EX_TOPMOST;
        title = saving_title;
        const HWND running = FindWindowA(saver_class_name, saving_title);
        if (running && IsWindow(running)) {
            SetForegroundWindow(running);
            return 0;
        }
        load_password_support();
    }
    settle_start_choices(scene_settings);
    autoplay_message = legacy_platform ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    if (RegisterClassA(&window_class))
        saver_window = CreateWindowExA(ex_style, saver_class_name, title, style, area.left,
                                       area.top, area.right - area.left, area.bottom - area.top,
                                       parent, nullptr, module_instance, nullptr);
    MSG msg{};
    int result = -1; // no window could be made
    if (saver_window) {
        if (!preview_mode)
            SetForegroundWindow(saver_window);
        // A broken queue (-1) ends the loop as well as the quit message.
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        result = static_cast<int>(msg.wParam);
    }
    unload_password_support();
    return result;
}

LRESULT CALLBACK saver_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_CREATE:
        detach_input_method(window);
        GetCursorPos(&mouse_reference);
        if (!preview_mode)
            SetCursor(nullptr);
        break;
    case WM_DESTROY:
        restore_input_method(window);
        PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        return 0; // the title never changes
    case WM_PAINT:
        if (close_confirmed)
            return DefWindowProcA(window, message, wparam, lparam);
        if (!preview_mode)
            SetCursor(nullptr);
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (preview_mode) {
            const HWND host = GetParent(window);
            if (host && IsWindow(host))
                PostMessageA(host, message, reinterpret_cast<WPARAM>(host), lparam);
            return 1;
        }
        break;
    case WM_SYSCOMMAND:
        if (!preview_mode &&
            (wparam == SC_SCREENSAVE || wparam == SC_NEXTWINDOW || wparam == SC_PREVWINDOW))
            return 0;
        break;
    case WM_TIMER:
        if (close_confirmed)
            return 0; // no frame once closing is decided
        Sleep(0);
        break;
    default:
        if (is_input(message) && close_confirmed)
            return DefWindowProcA(window, message, wparam, lparam);
        break;
    }
    return render_proc(window, message, wparam, lparam);
}
