#include "platform/window_fixture.h"

#include <algorithm>

std::vector<SeenMessage> seen;

bool saw(UINT message)
{
    return std::any_of(seen.begin(), seen.end(),
                       [message](const SeenMessage& m) { return m.message == message; });
}

LRESULT CALLBACK test_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    const bool power_news = message == WM_POWERBROADCAST && wparam == PBT_POWERSETTINGCHANGE;
    seen.push_back({window, message, wparam, lparam,
                    power_news ? reinterpret_cast<const POWERBROADCAST_SETTING*>(lparam)->Data[0]
                               : -1});
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wparam, lparam);
}

HWND make_test_window(DWORD style, int width, int height, HWND parent)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = test_window_proc;
        window_class.lpszClassName = "TestClass";
        registered = RegisterClassA(&window_class) != 0;
    }
    return CreateWindowExA(0, "TestClass", "Test", style, 0, 0, width, height, parent, nullptr,
                           nullptr, nullptr);
}

bool pump_until(const std::function<bool()>& done, DWORD timeout_ms)
{
    const DWORD start = GetTickCount();
    MSG msg;
    while (!done()) {
        if (GetTickCount() - start > timeout_ms)
            return false;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        else
            Sleep(1);
    }
    return true;
}
