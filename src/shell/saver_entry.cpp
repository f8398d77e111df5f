#include "shell/saver_entry.h"

#include "shell/entry_point.h"
#include "shell/render_proc.h"
#include "shell/saver_process.h"
#include "shell/saver_settings.h"
#include "shell/saver_window.h"

namespace
{

constexpr WORD config_dialog_template = 2003;

typedef DWORD(WINAPI* PasswordChangeProc)(LPCSTR provider, HWND owner, DWORD, DWORD);

bool is_blank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

LPCSTR skip_spaces(LPCSTR text)
{
    while (*text == ' ')
        ++text;
    return text;
}

// What follows the program name, which may be quoted and hold blanks.
LPSTR command_tail(LPSTR line)
{
    if (*line == '"') {
        line = CharNextA(line);
        while (*line && *line != '"')
            line = CharNextA(line);
        if (*line == '"')
            line = CharNextA(line);
    } else {
        while (*line && !is_blank(*line))
            line = CharNextA(line);
    }
    while (*line && is_blank(*line))
        ++line;
    return line;
}

BOOL is_legacy_platform()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

int run_switch(LPCSTR tail)
{
    for (LPCSTR p = tail;; ++p) {
        switch (*p) {
        case '\0':
            return run_config(nullptr);
        case ' ':
        case '-':
        case '/':
            continue;
        case 'S':
        case 's':
            return run_saver(nullptr);
        case 'P':
        case 'p':
        case 'L':
        case 'l':
            return run_preview(skip_spaces(p + 1));
        case 'C':
        case 'c': {
            HWND owner = p[1] == ':' ? parse_window_handle(p + 2) : nullptr;
            if (!owner || !IsWindow(owner))
                owner = GetForegroundWindow();
            return run_config(owner);
        }
        case 'A':
        case 'a':
            return legacy_platform ? run_password_change(skip_spaces(p + 1)) : -1;
        default:
            return -1;
        }
    }
}

// What every mode starts with, whoever starts it.
void begin_saver_process(HINSTANCE instance)
{
    module_instance = instance;
    legacy_platform = is_legacy_platform();
    SetUnhandledExceptionFilter(saver_crash_filter);
}

} // namespace

void process_start()
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    LPSTR tail = command_tail(GetCommandLineA());
    GetStartupInfoA(&startup);
    use_saved_settings();
    const int show =
        (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    ExitProcess(static_cast<UINT>(saver_main(GetModuleHandleA(nullptr), nullptr, tail, show)));
}

int saver_main(HINSTANCE instance, HINSTANCE, LPSTR tail, int)
{
    begin_saver_process(instance);
    return run_switch(tail);
}

int host_preview_main(HWND host, const SceneSettings& settings, UINT frame_interval, BOOL wallpaper)
{
    begin_saver_process(GetModuleHandleA(nullptr));
    scene_settings = settings;
    frame_interval_ms = frame_interval;
    wallpaper_mode = wallpaper;
    return run_preview_in(host);
}

// A crash must not leave the platform believing that a saver still runs,
// and ends with an exit code of its own rather than the platform's report.
LONG CALLBACK saver_crash_filter(EXCEPTION_POINTERS*)
{
    announce_saver_running(FALSE);
    ExitProcess(saver_crash_exit_code);
}

HWND parse_window_handle(LPCSTR text)
{
    // Unsigned, so that an overlong number wraps instead of overflowing; a
    // wrapped value is simply not a window.
    UINT_PTR value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value * 10 + static_cast<UINT_PTR>(*text - '0');
    return reinterpret_cast<HWND>(value);
}

int run_preview(LPCSTR text)
{
    return run_preview_in(parse_window_handle(text));
}

int run_preview_in(HWND parent)
{
    return parent && IsWindow(parent) ? run_saver(parent) : -1;
}

int run_config(HWND owner)
{
    if (!prepare_config_dialog(module_instance))
        return 0;
    return static_cast<int>(DialogBoxParamA(
        module_instance, MAKEINTRESOURCEA(config_dialog_template), owner, config_dialog_proc, 0));
}

int run_password_change(LPCSTR text)
{
    HWND owner = parse_window_handle(text);
    if (!owner || !IsWindow(owner))
        owner = GetForegroundWindow();
    change_password(owner);
    return 0;
}

void change_password(HWND owner)
{
    const HMODULE library = LoadLibraryA("MPR.DLL");
    if (!library)
        return;
    const auto change = entry_point<PasswordChangeProc>(library, "PwdChangePasswordA");
    if (change)
        change("SCRSAVE", owner, 0, 0);
    FreeLibrary(library);
}
