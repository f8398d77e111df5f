// The rules that end saving: input, activation and power messages ask the
// window to close, and on the older platform family the password verifier
// is asked first.
#include "shell/close_rules.h"

#include <cstdlib>
#include <cstring>

#include "shell/entry_point.h"
#include "shell/saver_process.h"
#include "shell/saver_window.h"
#include "shell/window_chain.h"

namespace
{

// Set while the platform's verifier has its dialog open.
bool verifier_open = false;

// The verification request is a message, so any program can send it, and the
// verifier's dialog dispatches our messages while it is open: only the
// request that verify_before_close sends may open the dialog, and only once.
LRESULT run_verifier(HWND window)
{
    if (!verifying_password || verifier_open)
        return 0;
    if (!verify_password)
        return 1;
    verifier_open = true;
    const BOOL accepted = verify_password(window);
    verifier_open = false;
    return accepted;
}

void request_close(HWND window)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// The input rules of saving mode. True when the message was answered.
bool apply_input_rules(HWND window, UINT message, WPARAM wparam, LRESULT& result)
{
    switch (message) {
    case WM_SHOWWINDOW:
        if (wparam)
            SetCursor(nullptr);
        break;
    case WM_ACTIVATEAPP:
        if (!wparam)
            request_close(window);
        break;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        result = TRUE;
        return true;
    case WM_POWER:
        if (wparam == 3) // critical resume
            request_close(window);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_POWERBROADCAST:
        request_close(window);
        break;
    case WM_MOUSEMOVE: {
        // Small moves leave the reference alone, so that they add up.
        POINT p{};
        GetCursorPos(&p);
        if (std::labs(p.x - mouse_reference.x) + std::labs(p.y - mouse_reference.y) >
            pointer_move_limit) {
            request_close(window);
            mouse_reference = p;
        }
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace

LRESULT close_rules_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!preview_mode && !close_confirmed) {
        if (message == WM_CLOSE && legacy_platform && !verify_before_close(window)) {
            GetCursorPos(&mouse_reference);
            return 0;
        }
        if (message == verification_request && legacy_platform)
            return run_verifier(window);
        LRESULT answer = 0;
        if (!verifying_password && apply_input_rules(window, message, wparam, answer))
            return answer;
    }
    if (autoplay_message != 0 && message == autoplay_message) {
        request_close(window);
        return verify_password ? 1 : 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

BOOL verify_before_close(HWND window)
{
    if (verifying_password || close_confirmed)
        return FALSE;
    if (!verify_password) {
        close_confirmed = TRUE;
        return TRUE;
    }
    const DWORD now = GetTickCount();
    if (last_password_check != 0xFFFFFFFFu && now - last_password_check < password_retry_guard)
        return close_confirmed;
    verifying_password = TRUE;
    // Ticks already waiting would draw frames under the verifier's dialog.
    MSG pending;
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    close_confirmed = SendMessageA(window, verification_request, 0, 0) != 0;
    verifying_password = FALSE;
    if (!close_confirmed)
        SetCursor(nullptr);
    last_password_check = GetTickCount();
    return close_confirmed;
}

void load_password_support()
{
    if (!legacy_platform)
        return;
    if (password_library)
        unload_password_support();
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != ERROR_SUCCESS)
        return;
    // Cleared first: a value shorter than four bytes fills only its own bytes.
    BYTE value[4] = {0, 0, 0, 0};
    DWORD size = sizeof value;
    DWORD flag = 0;
    if (RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr, value, &size) ==
        ERROR_SUCCESS)
        std::memcpy(&flag, value, sizeof flag);
    if (flag) {
        password_library = LoadLibraryA("PASSWORD.CPL");
        if (password_library) {
            verify_password =
                entry_point<VerifyPasswordProc>(password_library, "VerifyScreenSavePwd");
            if (verify_password)
                announce_saver_running(TRUE);
            else
                unload_password_support();
        }
    }
    RegCloseKey(key);
}

void unload_password_support()
{
    if (!legacy_platform || !password_library)
        return;
    FreeLibrary(password_library);
    password_library = nullptr;
    if (verify_password) {
        verify_password = nullptr;
        announce_saver_running(FALSE);
    }
}
