#include "support/fake_win32.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

FakeWin32 fake;

namespace
{

struct FakeWindow {
    HWND handle;
    HWND parent;
    WNDPROC procedure;
    bool destroying;
};

std::vector<FakeWindow> windows;
WNDPROC registered_procedure = nullptr;
bool quit_posted = false;
int quit_code = 0;
HWND open_dialog = nullptr;
INT_PTR dialog_result = 0;

HMODULE module_handle(UINT_PTR id)
{
    return reinterpret_cast<HMODULE>(id);
}
const HMODULE password_module = module_handle(0x51);
const HMODULE mpr_module = module_handle(0x52);
const HMODULE imm_module = module_handle(0x53);
const HKEY desktop_key = reinterpret_cast<HKEY>(0x4E);
const HKEY settings_key = reinterpret_cast<HKEY>(0x4F);

void record(std::string call)
{
    fake.calls.push_back(std::move(call));
}

std::string handle_text(const void* handle)
{
    return std::to_string(reinterpret_cast<UINT_PTR>(handle));
}

FakeWindow* find(HWND handle)
{
    for (FakeWindow& w : windows)
        if (w.handle == handle)
            return &w;
    return nullptr;
}

BOOL WINAPI fake_verify(HWND window)
{
    ++fake.verifier_calls;
    return fake.verifier(window);
}

DWORD WINAPI fake_change_password(LPCSTR provider, HWND owner, DWORD a, DWORD b)
{
    record(std::string("PwdChangePasswordA(") + provider + "," + handle_text(owner) + "," +
           std::to_string(a) + "," + std::to_string(b) + ")");
    return 0;
}

void* WINAPI fake_associate(HWND, void* context)
{
    record("ImmAssociateContext(" + handle_text(context) + ")");
    return context ? nullptr : reinterpret_cast<void*>(0x77);
}

template <typename Routine> FARPROC as_farproc(Routine routine)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(routine));
}

} // namespace

void reset_fake()
{
    fake = FakeWin32{};
    windows.clear();
    registered_procedure = nullptr;
    quit_posted = false;
    quit_code = 0;
    open_dialog = nullptr;
    dialog_result = 0;
}

int FakeWin32::count(const std::string& call) const
{
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

int FakeWin32::closes_posted() const
{
    return static_cast<int>(std::count_if(posted.begin(), posted.end(),
                                          [](const MSG& m) { return m.message == WM_CLOSE; }));
}

ATOM RegisterClassA(const WNDCLASSA* window_class)
{
    record(std::string("RegisterClassA(") + window_class->lpszClassName + ")");
    fake.window_class = *window_class;
    registered_procedure = window_class->lpfnWndProc;
    return 1;
}

HWND CreateWindowExA(DWORD ex_style, LPCSTR, LPCSTR title, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU, HINSTANCE, LPVOID)
{
    record(std::string("CreateWindowExA(") + title + "," + std::to_string(width) + "x" +
           std::to_string(height) + "," + handle_text(parent) + ")");
    fake.window_origin = {x, y};
    fake.window_style = style;
    fake.window_ex_style = ex_style;
    const HWND handle = fake_window(0x1000 + windows.size());
    windows.push_back({handle, parent, registered_procedure, false});
    registered_procedure(handle, WM_CREATE, 0, 0);
    return handle;
}

// Windows sends WM_DESTROY while the window still exists and forgets it
// only afterwards; a second destruction from inside the first fails.
BOOL DestroyWindow(HWND window)
{
    FakeWindow* w = find(window);
    if (!w || w->destroying)
        return FALSE;
    record("DestroyWindow");
    w->destroying = true;
    w->procedure(window, WM_DESTROY, 0, 0);
    windows.erase(std::find_if(windows.begin(), windows.end(),
                               [window](const FakeWindow& f) { return f.handle == window; }));
    return TRUE;
}

// Answers as Windows' own procedure does, so that a message the shell
// answers itself can be told from one it passes on.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM)
{
    record("DefWindowProcA(" + std::to_string(message) + ")");
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SETTEXT: // the title is changed
    case WM_HELP:    // help is passed on to the parent or owner
        return TRUE;
    default:
        return 0;
    }
}

BOOL GetClientRect(HWND window, RECT* rect)
{
    *rect = {0, 0, 0, 0};
    if (!IsWindow(window))
        return FALSE;
    *rect = find(window) ? RECT{0, 0, 640, 480} : RECT{0, 0, 152, 112};
    return TRUE;
}

HWND GetParent(HWND window)
{
    const FakeWindow* w = find(window);
    return w ? w->parent : nullptr;
}

BOOL IsWindow(HWND window)
{
    return find(window) || std::find(fake.foreign_windows.begin(), fake.foreign_windows.end(),
                                     window) != fake.foreign_windows.end();
}

HWND FindWindowA(LPCSTR, LPCSTR)
{
    return fake.running_saver;
}

BOOL SetForegroundWindow(HWND window)
{
    record("SetForegroundWindow(" + handle_text(window) + ")");
    return TRUE;
}

HWND GetForegroundWindow()
{
    return fake.foreground;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    record("SetCursor(" + handle_text(cursor) + ")");
    return nullptr;
}

BOOL GetCursorPos(POINT* point)
{
    *point = fake.cursor;
    return TRUE;
}

// Handles that name what was asked for, so a test can see which one was used.
HICON LoadIconA(HINSTANCE, LPCSTR name)
{
    return reinterpret_cast<HICON>(0x1C00 + reinterpret_cast<UINT_PTR>(name));
}

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR, HWND owner, DLGPROC procedure, LPARAM param)
{
    record("DialogBoxParamA(" + handle_text(owner) + ")");
    open_dialog = fake_window(0xD1A);
    procedure(open_dialog, WM_INITDIALOG, 0, param);
    fake.person();
    procedure(open_dialog, WM_COMMAND, fake.dialog_answer, 0);
    open_dialog = nullptr;
    return dialog_result;
}

BOOL EndDialog(HWND dialog, INT_PTR result)
{
    if (dialog != open_dialog)
        return FALSE;
    dialog_result = result;
    return TRUE;
}

HWND GetDlgItem(HWND, int id) // every control is there
{
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(id));
}

LRESULT SendDlgItemMessageA(HWND, int id, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == CB_ADDSTRING)
        fake.list_items[id].emplace_back(reinterpret_cast<LPCSTR>(lparam));
    if (message == CB_SETCURSEL)
        fake.controls[id] = static_cast<LRESULT>(wparam);
    return message == CB_GETCURSEL && fake.controls.count(id) ? fake.controls[id] : CB_ERR;
}

BOOL CheckDlgButton(HWND, int id, UINT check)
{
    fake.controls[id] = check;
    return TRUE;
}

UINT IsDlgButtonChecked(HWND, int id)
{
    return static_cast<UINT>(fake.controls[id]);
}

BOOL EnumDisplayMonitors(HDC, const RECT*, MONITORENUMPROC procedure, LPARAM data)
{
    for (std::size_t i = 0; i < fake.monitors.size(); ++i)
        if (!procedure(reinterpret_cast<HMONITOR>(i + 1), nullptr, &fake.monitors[i], data))
            break;
    return TRUE;
}

HPOWERNOTIFY RegisterPowerSettingNotification(HWND window, LPCGUID setting, DWORD)
{
    const bool display = IsEqualGUID(*setting, GUID_CONSOLE_DISPLAY_STATE);
    const bool source = IsEqualGUID(*setting, GUID_ACDC_POWER_SOURCE);
    record("RegisterPowerSettingNotification(" + handle_text(window) + "," +
           (display  ? "display"
            : source ? "power source"
                     : "battery saver") +
           ")");
    return reinterpret_cast<HPOWERNOTIFY>(display ? 1 : source ? 2 : 3);
}

BOOL UnregisterPowerSettingNotification(HPOWERNOTIFY notice)
{
    record("UnregisterPowerSettingNotification(" + handle_text(notice) + ")");
    return TRUE;
}

BOOL GetSystemPowerStatus(SYSTEM_POWER_STATUS* status)
{
    *status = {};
    status->ACLineStatus = fake.ac_line_status;
    status->SystemStatusFlag = fake.battery_saver;
    return TRUE;
}

// As Windows, only for a caller that says how big its record is.
BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info)
{
    if (info->cbSize != sizeof *info)
        return FALSE;
    const std::size_t place = reinterpret_cast<std::size_t>(monitor) - 1;
    info->rcMonitor = fake.monitors[place];
    info->dwFlags = place == fake.primary_monitor ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

BOOL EnumDisplaySettingsA(LPCSTR, DWORD, DEVMODEA* mode)
{
    mode->dmDisplayFrequency = fake.display_frequency;
    return TRUE;
}

PROC wglGetProcAddress(LPCSTR name)
{
    record(std::string("wglGetProcAddress(") + name + ")");
    return nullptr;
}

BOOL ClientToScreen(HWND, POINT* point)
{
    point->x += fake.client_origin.x;
    point->y += fake.client_origin.y;
    return TRUE;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR, UINT)
{
    record("MessageBoxA(" + handle_text(owner) + "," + text + ")");
    return IDOK;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    fake.posted.push_back(MSG{window, message, wparam, lparam, fake.tick_count, {}});
    return TRUE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    const FakeWindow* w = find(window);
    return w ? w->procedure(window, message, wparam, lparam) : 0;
}

// The loop runs what was posted and ends with the quit message; with nothing
// left to run it ends as if the host had closed the window.
BOOL GetMessageA(MSG* msg, HWND, UINT, UINT)
{
    if (!fake.posted.empty()) {
        *msg = fake.posted.front();
        fake.posted.erase(fake.posted.begin());
        return TRUE;
    }
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(quit_posted ? quit_code : 0), 0, 0, {}};
    return FALSE;
}

BOOL PeekMessageA(MSG*, HWND, UINT first, UINT last, UINT remove)
{
    record("PeekMessageA(" + std::to_string(first) + "," + std::to_string(last) + "," +
           std::to_string(remove) + ")");
    return FALSE;
}

BOOL TranslateMessage(const MSG*)
{
    return FALSE;
}

LRESULT DispatchMessageA(const MSG* msg)
{
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exit_code)
{
    quit_posted = true;
    quit_code = exit_code;
}

UINT RegisterWindowMessageA(LPCSTR name)
{
    record(std::string("RegisterWindowMessageA(") + name + ")");
    return 0xC123;
}

UINT_PTR SetTimer(HWND, UINT_PTR id, UINT elapse_ms, TIMERPROC)
{
    record("SetTimer(" + std::to_string(id) + "," + std::to_string(elapse_ms) + ")");
    fake.timer_interval = std::max(elapse_ms, USER_TIMER_MINIMUM);
    fake.timer_due = fake.tick_count + fake.timer_interval;
    return id;
}

BOOL KillTimer(HWND, UINT_PTR id)
{
    record("KillTimer(" + std::to_string(id) + ")");
    return TRUE;
}

BOOL SystemParametersInfoA(UINT action, UINT uparam, LPVOID value, UINT)
{
    record("SystemParametersInfoA(" + std::to_string(action) + "," + std::to_string(uparam) + ")");
    if (action == SPI_GETCLIENTAREAANIMATION)
        *static_cast<BOOL*>(value) = fake.animations;
    return TRUE;
}

LPSTR CharNextA(LPCSTR text)
{
    return const_cast<LPSTR>(*text ? text + 1 : text);
}

HDC GetDC(HWND window)
{
    record("GetDC(" + handle_text(window) + ")");
    return reinterpret_cast<HDC>(window ? window : fake_window(0x5C));
}

int ReleaseDC(HWND, HDC)
{
    record("ReleaseDC");
    return 1;
}

int GetClipBox(HDC, RECT* rect)
{
    *rect = {8, 6, 648, 486}; // not at the origin, so that the window's place shows
    return SIMPLEREGION;
}

BOOL RectVisible(HDC, const RECT*)
{
    return TRUE;
}

HGDIOBJ GetStockObject(int object)
{
    return reinterpret_cast<HGDIOBJ>(0x5700 + static_cast<UINT_PTR>(object));
}

int ChoosePixelFormat(HDC, const PIXELFORMATDESCRIPTOR* format)
{
    record("ChoosePixelFormat(" + std::to_string(format->nSize) + "," +
           std::to_string(format->dwFlags) + "," + std::to_string(format->cColorBits) + "," +
           std::to_string(format->cDepthBits) + ")");
    fake.pixel_format = *format;
    return 7;
}

BOOL SetPixelFormat(HDC, int format, const PIXELFORMATDESCRIPTOR*)
{
    record("SetPixelFormat(" + std::to_string(format) + ")");
    return TRUE;
}

HGLRC wglCreateContext(HDC)
{
    record("wglCreateContext");
    return nullptr; // no context: the scene's GL calls go nowhere
}

BOOL wglMakeCurrent(HDC dc, HGLRC)
{
    record(dc ? "wglMakeCurrent" : "wglMakeCurrent(none)");
    return TRUE;
}

BOOL wglDeleteContext(HGLRC)
{
    record("wglDeleteContext");
    return TRUE;
}

BOOL SwapBuffers(HDC)
{
    record("SwapBuffers");
    fake.tick_count += fake.frame_ms;
    return TRUE;
}

BOOL GetVersionExA(OSVERSIONINFOA* info)
{
    info->dwPlatformId = fake.platform_id;
    return TRUE;
}

DWORD GetTickCount()
{
    return fake.tick_count;
}

void GetLocalTime(SYSTEMTIME* time)
{
    *time = fake.local_time;
}

void Sleep(DWORD milliseconds)
{
    record("Sleep(" + std::to_string(milliseconds) + ")");
}

LPSTR GetCommandLineA()
{
    return &fake.command_line[0];
}

void GetStartupInfoA(STARTUPINFOA* info)
{
    std::memset(info, 0, sizeof *info);
}

HMODULE GetModuleHandleA(LPCSTR name)
{
    if (!name)
        return module_handle(0x40);
    return fake.imm_loaded && std::strcmp(name, "IMM32.DLL") == 0 ? imm_module : nullptr;
}

HMODULE LoadLibraryA(LPCSTR name)
{
    record(std::string("LoadLibraryA(") + name + ")");
    if (std::strcmp(name, "PASSWORD.CPL") == 0 && fake.password_cpl)
        return password_module;
    if (std::strcmp(name, "MPR.DLL") == 0 && fake.mpr)
        return mpr_module;
    return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name)
{
    if (module == password_module && fake.verify_entry &&
        std::strcmp(name, "VerifyScreenSavePwd") == 0)
        return as_farproc(fake_verify);
    if (module == mpr_module && fake.change_entry && std::strcmp(name, "PwdChangePasswordA") == 0)
        return as_farproc(fake_change_password);
    if (module == imm_module && std::strcmp(name, "ImmAssociateContext") == 0)
        return as_farproc(fake_associate);
    return nullptr;
}

BOOL FreeLibrary(HMODULE)
{
    record("FreeLibrary");
    return TRUE;
}

void ExitProcess(UINT exit_code)
{
    // A death test can only read what the process did from its output.
    for (const std::string& call : fake.calls)
        std::fprintf(stderr, "%s\n", call.c_str());
    _exit(static_cast<int>(exit_code));
}

LPTOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER)
{
    record("SetUnhandledExceptionFilter");
    return nullptr;
}

LSTATUS RegOpenKeyA(HKEY, LPCSTR sub_key, HKEY* result)
{
    record(std::string("RegOpenKeyA(") + sub_key + ")");
    *result = fake.desktop_key ? desktop_key : nullptr;
    return fake.desktop_key ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

// As Windows: writes only as many bytes as the value has, writes nothing
// into a buffer too small for it, and reports the value's size either way.
LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size)
{
    record(std::string("RegQueryValueExA(") + name + "," + std::to_string(size ? *size : 0) + ")");
    const auto setting = fake.settings.find(name);
    const bool found = key == settings_key ? setting != fake.settings.end()
                                           : key == desktop_key && !fake.use_password_value.empty();
    if (!found)
        return ERROR_FILE_NOT_FOUND;
    const std::vector<BYTE>& value =
        key == settings_key ? setting->second.second : fake.use_password_value;
    if (type)
        *type = key == settings_key ? setting->second.first : REG_DWORD;
    const DWORD room = size ? *size : 0;
    const auto needed = static_cast<DWORD>(value.size());
    if (size)
        *size = needed;
    if (!data)
        return ERROR_SUCCESS;
    if (room < needed)
        return ERROR_MORE_DATA;
    std::memcpy(data, value.data(), needed);
    return ERROR_SUCCESS;
}

// Only plain keys: an option would open a link, or make a key that is gone
// after the next start.
LSTATUS RegOpenKeyExA(HKEY, LPCSTR sub_key, DWORD options, REGSAM, HKEY* result)
{
    record(std::string("RegOpenKeyExA(") + sub_key + ")");
    if (options != 0)
        return ERROR_INVALID_PARAMETER;
    *result = fake.settings.empty() ? nullptr : settings_key;
    return fake.settings.empty() ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExA(HKEY, LPCSTR sub_key, DWORD reserved, LPSTR, DWORD options, REGSAM, void*,
                        HKEY* result, LPDWORD)
{
    record(std::string("RegCreateKeyExA(") + sub_key + ")");
    if (reserved != 0 || options != 0)
        return ERROR_INVALID_PARAMETER;
    *result = settings_key;
    return fake.write_status;
}

LSTATUS RegSetValueExA(HKEY, LPCSTR name, DWORD, DWORD type, const BYTE* data, DWORD size)
{
    if (fake.write_status == ERROR_SUCCESS)
        fake.settings[name] = {type, std::vector<BYTE>(data, data + size)};
    return fake.write_status;
}

DWORD FormatMessageA(DWORD, const void*, DWORD id, DWORD, LPSTR buffer, DWORD size, void*)
{
    return static_cast<DWORD>(
        id == ERROR_ACCESS_DENIED ? std::snprintf(buffer, size, "Access is denied.\r\n") : 0);
}

LSTATUS RegCloseKey(HKEY)
{
    record("RegCloseKey");
    return fake.close_status;
}
