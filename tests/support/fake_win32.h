#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/win32.h"

// A scriptable stand-in for the Windows API, for testing the shell without a
// display: a test chooses the platform family, the clock, the cursor, the
// registry value and which modules and entry points exist, and reads back
// the calls the shell made and the messages it posted.
struct FakeWin32 {
    // The platform as the test sets it up.
    DWORD platform_id = VER_PLATFORM_WIN32_NT;
    DWORD tick_count = 100000;
    SYSTEMTIME local_time = {2026, 12, 3, 9, 12, 0, 0, 0};
    POINT cursor = {0, 0};
    std::string command_line = "orbdrift.scr";
    bool desktop_key = true;              // the registry key of the value
    std::vector<BYTE> use_password_value; // empty: no such value
    bool password_cpl = false;
    bool verify_entry = true;
    bool mpr = false;
    bool change_entry = true;
    bool imm_loaded = false;
    std::function<BOOL(HWND)> verifier = [](HWND) { return TRUE; };
    std::vector<HWND> foreign_windows; // live windows of other processes
    HWND running_saver = nullptr;      // what FindWindowA finds
    HWND foreground = nullptr;
    WPARAM dialog_answer = IDOK;
    std::function<void()> person = [] {}; // works the dialog before it is answered
    // The settings key's values (type and bytes; no key while empty), and
    // what writing a value answers.
    std::map<std::string, std::pair<DWORD, std::vector<BYTE>>> settings;
    LSTATUS write_status = ERROR_SUCCESS;
    LSTATUS close_status = ERROR_SUCCESS; // where a registry kept in a file writes it
    BOOL animations = TRUE;               // the desktop's SPI_GETCLIENTAREAANIMATION
    // The dialog's controls by id: a list's choice or a box's tick, a list's items.
    std::map<int, LRESULT> controls;
    std::map<int, std::vector<std::string>> list_items;
    std::vector<RECT> monitors = {{0, 0, 640, 480}};
    std::size_t primary_monitor = 0; // of monitors
    DWORD display_frequency = 0;     // refreshes a second of the current mode, 0 unknown
    POINT client_origin = {0, 0}; // of every window, on the screen
    BYTE ac_line_status = 1;      // on mains
    BYTE battery_saver = 0;       // SystemStatusFlag: off
    DWORD frame_ms = 0;           // the clock goes on by this much in a frame

    // What the shell did.
    std::vector<std::string> calls;
    std::vector<MSG> posted;
    WNDCLASSA window_class{}; // as last registered
    POINT window_origin{};    // of the window created last
    DWORD window_style = 0;
    DWORD window_ex_style = 0;
    PIXELFORMATDESCRIPTOR pixel_format{}; // as last chosen
    int verifier_calls = 0;
    DWORD timer_due = 0;     // of the timer set last: when it ticks,
    UINT timer_interval = 0; // and its interval, raised to Windows' shortest

    int count(const std::string& call) const;
    int closes_posted() const;
};

extern FakeWin32 fake;

// Back to how a new process finds the fake: the settings, the record, and the
// windows, class, dialog and quit state behind the calls. For programs that
// run the shell many times in one process.
void reset_fake();

inline HWND fake_window(UINT_PTR id)
{
    return reinterpret_cast<HWND>(id);
}
