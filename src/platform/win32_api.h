#pragma once
// The subset of the Windows API that the saver's shell uses, with the names,
// types and values that Windows gives them, for systems that are not Windows.
// Window handles are X window ids, so a number on the command line names a
// real X window.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK

typedef int BOOL;
typedef unsigned char BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef unsigned int UINT;
typedef char CHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef std::uintptr_t UINT_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef std::intptr_t INT_PTR;
typedef std::intptr_t LONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef WORD ATOM;
typedef LONG LSTATUS;

#define TRUE 1
#define FALSE 0

#define DECLARE_WIN32_HANDLE(name)                                                                 \
    struct name##__;                                                                               \
    typedef name##__* name
DECLARE_WIN32_HANDLE(HWND);
DECLARE_WIN32_HANDLE(HDC);
DECLARE_WIN32_HANDLE(HGLRC);
DECLARE_WIN32_HANDLE(HINSTANCE);
DECLARE_WIN32_HANDLE(HICON);
DECLARE_WIN32_HANDLE(HCURSOR);
DECLARE_WIN32_HANDLE(HBRUSH);
DECLARE_WIN32_HANDLE(HMENU);
DECLARE_WIN32_HANDLE(HKEY);
DECLARE_WIN32_HANDLE(HMONITOR);
#undef DECLARE_WIN32_HANDLE
typedef HINSTANCE HMODULE;
typedef void* HGDIOBJ;

typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR (*DLGPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);
typedef INT_PTR (*FARPROC)();

struct EXCEPTION_POINTERS; // never looked into here
typedef LONG (*LPTOP_LEVEL_EXCEPTION_FILTER)(EXCEPTION_POINTERS* info);

struct POINT {
    LONG x;
    LONG y;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct MONITORINFO {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
};
#define MONITORINFOF_PRIMARY 0x00000001
typedef BOOL (*MONITORENUMPROC)(HMONITOR, HDC, RECT*, LPARAM);
// A display mode: of Windows' many fields, the ones the shell reads.
struct DEVMODEA {
    WORD dmSize;
    DWORD dmDisplayFrequency; // refreshes a second; 0 or 1 where it is not known
};
#define ENUM_CURRENT_SETTINGS (static_cast<DWORD>(-1))
typedef INT_PTR (*PROC)();
struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};

struct PIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};

struct STARTUPINFOA {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    LPBYTE lpReserved2;
    void* hStdInput;
    void* hStdOutput;
    void* hStdError;
};

#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define LOWORD(l) (static_cast<WORD>(static_cast<ULONG_PTR>(l) & 0xFFFF))
#define HIWORD(l) (static_cast<WORD>((static_cast<ULONG_PTR>(l) >> 16) & 0xFFFF))
#define MAKELPARAM(lo, hi)                                                                         \
    (static_cast<LPARAM>(static_cast<DWORD>((static_cast<WORD>(lo)) |                              \
                                            (static_cast<DWORD>(static_cast<WORD>(hi)) << 16))))

// Messages
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SIZE 0x0005
#define SIZE_RESTORED 0
#define WM_SETTEXT 0x000C
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_SHOWWINDOW 0x0018
#define WM_ACTIVATEAPP 0x001C
#define WM_SETCURSOR 0x0020
#define WM_POWER 0x0048
#define WM_HELP 0x0053
#define WM_CONTEXTMENU 0x007B
#define WM_DISPLAYCHANGE 0x007E
#define WM_KEYDOWN 0x0100
#define WM_SYSKEYDOWN 0x0104
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_MBUTTONDOWN 0x0207
#define WM_POWERBROADCAST 0x0218
#define PBT_POWERSETTINGCHANGE 0x8013
#define DEVICE_NOTIFY_WINDOW_HANDLE 0
#define WM_APP 0x8000

#define SC_NEXTWINDOW 0xF040
#define SC_PREVWINDOW 0xF050
#define SC_SCREENSAVE 0xF140

#define USER_TIMER_MINIMUM 0x0000000Au
#define USER_TIMER_MAXIMUM 0x7FFFFFFFu

#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

#define IDOK 1
#define IDCANCEL 2
// Dialog controls
#define CB_ADDSTRING 0x0143
#define CB_GETCURSEL 0x0147
#define CB_SETCURSEL 0x014E
#define CB_ERR (-1)
#define BST_UNCHECKED 0u
#define BST_CHECKED 1u
#define MB_OK 0x00000000u
#define MB_ICONERROR 0x00000010u

// Window classes and styles
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020
#define WS_OVERLAPPEDWINDOW 0x00CF0000u
#define WS_POPUP 0x80000000u
#define WS_CHILD 0x40000000u
#define WS_VISIBLE 0x10000000u
#define WS_CLIPSIBLINGS 0x04000000u
#define WS_CLIPCHILDREN 0x02000000u
#define WS_EX_TOPMOST 0x00000008u

// GDI and OpenGL
#define BLACK_BRUSH 4
#define ERROR 0
#define SIMPLEREGION 2
#define PFD_DOUBLEBUFFER 0x00000001u
#define PFD_DRAW_TO_WINDOW 0x00000004u
#define PFD_SUPPORT_OPENGL 0x00000020u
#define PFD_TYPE_RGBA 0
#define PFD_MAIN_PLANE 0

// System
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2
#define STARTF_USESHOWWINDOW 0x00000001u
#define SW_SHOWDEFAULT 10
#define SPI_SETSCREENSAVERRUNNING 97
#define SPI_GETCLIENTAREAANIMATION 0x1042
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001u)))
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_WRITE_FAULT 29L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_DISK_FULL 112L
#define ERROR_BAD_FILE_TYPE 222L
#define ERROR_FILE_TOO_LARGE 223L
#define ERROR_MORE_DATA 234L
#define REG_SZ 1u
#define REG_DWORD 4u
#define KEY_READ 0x00020019u
#define KEY_WRITE 0x00020006u
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200u
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000u

// user32: windows
ATOM RegisterClassA(const WNDCLASSA* window_class);
HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
BOOL DestroyWindow(HWND window);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
BOOL GetClientRect(HWND window, RECT* rect);
HWND GetParent(HWND window);
BOOL IsWindow(HWND window);
HWND FindWindowA(LPCSTR class_name, LPCSTR title);
HWND GetDesktopWindow();
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
HCURSOR SetCursor(HCURSOR cursor);
BOOL GetCursorPos(POINT* point);
BOOL ClientToScreen(HWND window, POINT* point);
// The monitors are the X screen's RandR monitors, else its Xinerama screens,
// else the whole screen.
BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC procedure, LPARAM data);

// Power: the console's display going off and on (the X server's monitor
// power), the power source (UPower's OnBattery) and the battery saver (the
// power-profiles daemon's power-saver profile), each told to a window that
// asked as WM_POWERBROADCAST with PBT_POWERSETTINGCHANGE, sent.
struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
typedef const GUID* LPCGUID;
inline bool IsEqualGUID(const GUID& a, const GUID& b)
{
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
           std::equal(a.Data4, a.Data4 + 8, b.Data4);
}
// The power settings' names, once for the host layer and the tests' fake.
// Data[0]: 0 off, 1 on, 2 dimmed
inline const GUID GUID_CONSOLE_DISPLAY_STATE = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
// Data[0]: 0 mains, 1 battery, 2 a short-term source
inline const GUID GUID_ACDC_POWER_SOURCE = {
    0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}};
// Data[0]: 0 off, 1 the battery saver on
inline const GUID GUID_POWER_SAVING_STATUS = {
    0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};
struct POWERBROADCAST_SETTING {
    GUID PowerSetting;
    DWORD DataLength;
    BYTE Data[1];
};
typedef void* HPOWERNOTIFY;
HPOWERNOTIFY RegisterPowerSettingNotification(HWND recipient, LPCGUID setting, DWORD flags);
BOOL UnregisterPowerSettingNotification(HPOWERNOTIFY handle);
struct SYSTEM_POWER_STATUS {
    BYTE ACLineStatus; // 0 offline, 1 online, 255 unknown
    BYTE BatteryFlag;
    BYTE BatteryLifePercent;
    BYTE SystemStatusFlag; // 1 with the battery saver on
    DWORD BatteryLifeTime;
    DWORD BatteryFullLifeTime;
};
BOOL GetSystemPowerStatus(SYSTEM_POWER_STATUS* status);

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info);
// The current mode of the display: on X, the fastest refresh of the screen's
// monitors that are on.
BOOL EnumDisplaySettingsA(LPCSTR device, DWORD mode, DEVMODEA* devmode);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR template_name, HWND owner, DLGPROC procedure,
                        LPARAM init_param);
BOOL EndDialog(HWND dialog, INT_PTR result);
// Only whether the dialog has that control: the handle is for no other call.
HWND GetDlgItem(HWND dialog, int id);
LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wparam, LPARAM lparam);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// user32: messages and timers
BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
BOOL GetMessageA(MSG* msg, HWND window, UINT first, UINT last);
BOOL PeekMessageA(MSG* msg, HWND window, UINT first, UINT last, UINT remove);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
void PostQuitMessage(int exit_code);
UINT RegisterWindowMessageA(LPCSTR name);
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse_ms, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);
BOOL SystemParametersInfoA(UINT action, UINT uparam, LPVOID pvparam, UINT win_ini);
LPSTR CharNextA(LPCSTR text);

// gdi32 and the OpenGL binding
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
int GetClipBox(HDC dc, RECT* rect);
BOOL RectVisible(HDC dc, const RECT* rect);
HGDIOBJ GetStockObject(int object);
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);
BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
HGLRC wglCreateContext(HDC dc);
BOOL wglMakeCurrent(HDC dc, HGLRC context);
BOOL wglDeleteContext(HGLRC context);
// An extension's routine for the current context, or null: on X only
// "wglSwapIntervalEXT", over GLX's swap control where the driver has it.
PROC wglGetProcAddress(LPCSTR name);
BOOL SwapBuffers(HDC dc);

#define EXCEPTION_CONTINUE_SEARCH 0

// kernel32 and advapi32
BOOL GetVersionExA(OSVERSIONINFOA* info);
DWORD GetTickCount();
void GetLocalTime(SYSTEMTIME* time);
void Sleep(DWORD milliseconds);
LPSTR GetCommandLineA();
void GetStartupInfoA(STARTUPINFOA* info);
HMODULE GetModuleHandleA(LPCSTR name);
HMODULE LoadLibraryA(LPCSTR name);
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
BOOL FreeLibrary(HMODULE module);
[[noreturn]] void ExitProcess(UINT exit_code);
// Here a crash is a fatal signal: the filter sees it first, and the signal
// takes its ordinary course only if the filter returns.
LPTOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER filter);
LSTATUS RegOpenKeyA(HKEY key, LPCSTR sub_key, HKEY* result);
LSTATUS RegQueryValueExA(HKEY key, LPCSTR value_name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD data_size);
LSTATUS RegCloseKey(HKEY key);
// HKEY_CURRENT_USER is kept in a text file (see registry_file.cpp).
typedef DWORD REGSAM;
LSTATUS RegOpenKeyExA(HKEY key, LPCSTR sub_key, DWORD options, REGSAM access, HKEY* result);
LSTATUS RegCreateKeyExA(HKEY key, LPCSTR sub_key, DWORD reserved, LPSTR key_class, DWORD options,
                        REGSAM access, void* security, HKEY* result, LPDWORD disposition);
LSTATUS RegSetValueExA(HKEY key, LPCSTR value_name, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD data_size);
DWORD FormatMessageA(DWORD flags, const void* source, DWORD message_id, DWORD language_id,
                     LPSTR buffer, DWORD size, void* arguments);
