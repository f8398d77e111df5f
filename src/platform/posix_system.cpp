// The kernel32 calls of the shell. This is the NT family, so the older
// family's password services are never asked for; the modules of Windows do
// not exist here and are simply not found.
#include <sched.h>
#include <signal.h>
#include <time.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/posix_system.h"
#include "platform/win32_api.h"

BOOL GetVersionExA(OSVERSIONINFOA* info)
{
    if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA))
        return FALSE;
    std::memset(info, 0, sizeof *info);
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    info->dwMajorVersion = 10;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    return TRUE;
}

namespace posix
{

std::uint64_t steady_milliseconds()
{
    const auto since_boot = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since_boot).count());
}

std::uint64_t (*tick_source)() = steady_milliseconds;
void (*flush_before_exit)() = nullptr;

} // namespace posix

DWORD GetTickCount()
{
    return static_cast<DWORD>(posix::tick_source());
}

void GetLocalTime(SYSTEMTIME* time)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    *time = {static_cast<WORD>(local.tm_year + 1900), static_cast<WORD>(local.tm_mon + 1),
             static_cast<WORD>(local.tm_wday),        static_cast<WORD>(local.tm_mday),
             static_cast<WORD>(local.tm_hour),        static_cast<WORD>(local.tm_min),
             static_cast<WORD>(local.tm_sec),         static_cast<WORD>(now.tv_nsec / 1000000)};
}

void Sleep(DWORD milliseconds)
{
    if (milliseconds == 0) {
        sched_yield(); // gives up the rest of the time slice, as on Windows
        return;
    }
    const timespec pause{static_cast<time_t>(milliseconds / 1000),
                         static_cast<long>(milliseconds % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}

// The program's own command line as Windows would hand it over: arguments
// joined by blanks, each quoted when it holds a blank or is empty, so that an
// empty program name still stands apart from the first switch.
LPSTR GetCommandLineA()
{
    static std::string line;
    static bool read = false;
    if (!read) {
        read = true;
        std::ifstream file("/proc/self/cmdline", std::ios::binary);
        const std::string raw((std::istreambuf_iterator<char>(file)),
                              std::istreambuf_iterator<char>());
        for (std::size_t start = 0; start < raw.size();) {
            const std::size_t end = raw.find('\0', start);
            const std::string argument = raw.substr(start, end - start);
            if (!line.empty())
                line += ' ';
            const bool quote =
                argument.empty() || argument.find_first_of(" \t") != std::string::npos;
            line += quote ? "\"" + argument + "\"" : argument;
            start = end == std::string::npos ? raw.size() : end + 1;
        }
    }
    return &line[0];
}

void GetStartupInfoA(STARTUPINFOA* info)
{
    std::memset(info, 0, sizeof *info);
    info->cb = sizeof *info;
}

HMODULE GetModuleHandleA(LPCSTR name)
{
    static char program;
    return name ? nullptr : reinterpret_cast<HMODULE>(&program);
}

HMODULE LoadLibraryA(LPCSTR)
{
    return nullptr;
}

FARPROC GetProcAddress(HMODULE, LPCSTR)
{
    return nullptr;
}

BOOL FreeLibrary(HMODULE)
{
    return FALSE;
}

namespace
{

LPTOP_LEVEL_EXCEPTION_FILTER crash_filter = nullptr;
volatile sig_atomic_t crashing = 0;

void on_crash(int signal_number)
{
    crashing = 1;
    if (crash_filter)
        crash_filter(nullptr);
    std::signal(signal_number, SIG_DFL);
    raise(signal_number);
}

} // namespace

LPTOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER filter)
{
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = crash_filter;
    crash_filter = filter;
    for (int signal_number : {SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(signal_number, filter ? on_crash : SIG_DFL);
    return previous;
}

void ExitProcess(UINT exit_code)
{
    // Like Windows, the process ends without destroying its global objects;
    // what was sent to the X server and to the standard streams still goes
    // out first, unless the process is crashing and they may be what broke.
    if (!crashing) {
        if (posix::flush_before_exit)
            posix::flush_before_exit();
        std::fflush(nullptr);
    }
    std::_Exit(static_cast<int>(exit_code));
}

LPSTR CharNextA(LPCSTR text)
{
    return const_cast<LPSTR>(*text ? text + 1 : text);
}

// Only the errors a save of the settings can meet have a text here; for
// any other there is none, as for a code Windows has no text for.
DWORD FormatMessageA(DWORD, const void*, DWORD message_id, DWORD, LPSTR buffer, DWORD size, void*)
{
    static const struct {
        DWORD id;
        const char* text;
    } messages[] = {
        {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
        {ERROR_ACCESS_DENIED, "Access is denied."},
        {ERROR_WRITE_FAULT, "The system cannot write to the specified device."},
        {ERROR_DISK_FULL, "There is not enough space on the disk."},
        {ERROR_BAD_FILE_TYPE, "The file type being saved or retrieved has been blocked."},
        {ERROR_FILE_TOO_LARGE, "The file size exceeds the limit allowed and cannot be saved."}};
    for (const auto& message : messages) {
        const DWORD length = static_cast<DWORD>(std::strlen(message.text));
        if (message.id == message_id && buffer && size > length) {
            std::memcpy(buffer, message.text, length + 1);
            return length;
        }
    }
    return 0;
}
