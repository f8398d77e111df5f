// Stands in for the settings page that shows a saver's preview:
//   preview-host SAVER SECONDS
// makes a window titled "Preview host", starts SAVER /p with its handle, keeps
// the window for SECONDS, prints the size of the saver's preview window found
// among its children ("child WxH", or "no child"), closes its window, and ends
// with the saver's exit code (3 when the saver does not end within 10 s of
// that, 2 on bad arguments).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = "PreviewHost";
    RegisterClassA(&window_class);
    const HWND host =
        CreateWindowExA(0, "PreviewHost", "Preview host", WS_POPUP | WS_VISIBLE, 20, 20, 200, 150,
                        nullptr, nullptr, window_class.hInstance, nullptr);
    if (!host)
        return 2;

    char command[1024];
    std::snprintf(command, sizeof command, "\"%s\" /p %llu", argv[1],
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(host)));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION saver{};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &saver))
        return 2;

    const DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(argv[2])) * 1000;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
    const HWND child = FindWindowExA(host, nullptr, "WindowsScreenSaverClass", "Preview");
    RECT area{};
    if (child && GetClientRect(child, &area))
        std::printf("child %ldx%ld\n", area.right, area.bottom);
    else
        std::printf("no child\n");
    std::fflush(stdout);
    DestroyWindow(host);
    DWORD code = 3;
    if (WaitForSingleObject(saver.hProcess, 10000) == WAIT_OBJECT_0)
        GetExitCodeProcess(saver.hProcess, &code);
    else
        TerminateProcess(saver.hProcess, 3);
    return static_cast<int>(code);
}
