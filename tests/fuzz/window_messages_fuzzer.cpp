// Sequences of messages into the saver window's procedures, in saving and
// preview mode, on both platform families, with a verifier that answers as
// the input says and dispatches messages while its dialog is open. The close
// rules must hold whatever arrives.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

#include "fuzz/shell_state.h"

namespace
{

const HWND host = fake_window(123);
const UINT autoplay = 0xC123; // what the fake registers any name as

const UINT known_messages[] = {WM_KEYDOWN,     WM_SYSKEYDOWN,  WM_MOUSEMOVE,
                               WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN,
                               WM_ACTIVATEAPP, WM_POWER,       WM_POWERBROADCAST,
                               WM_SETCURSOR,   WM_SHOWWINDOW,  WM_CLOSE,
                               WM_SETTEXT,     WM_PAINT,       WM_HELP,
                               WM_CONTEXTMENU, WM_SYSCOMMAND,  verification_request,
                               autoplay,       WM_TIMER,       WM_DESTROY};

FuzzedDataProvider* input = nullptr;
int verifier_depth = 0;
bool was_confirmed = false;

// Messages that must never close a preview or a window whose password is
// being asked for.
bool is_user_input(UINT message)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_ACTIVATEAPP:
    case WM_POWER:
    case WM_POWERBROADCAST:
        return true;
    default:
        return false;
    }
}

void check_close_confirmed_stays()
{
    if (was_confirmed && !close_confirmed)
        std::abort();
    was_confirmed = close_confirmed != FALSE;
}

void send_one(bool inside_verifier)
{
    const std::size_t choice =
        input->ConsumeIntegralInRange<std::size_t>(0, std::size(known_messages));
    const UINT message = choice < std::size(known_messages) ? known_messages[choice]
                                                            : input->ConsumeIntegral<UINT>();
    const WPARAM wparam = input->ConsumeBool() ? input->ConsumeIntegralInRange<WPARAM>(0, 3)
                                               : input->ConsumeIntegral<std::uint16_t>();
    LPARAM lparam = input->ConsumeIntegral<std::int32_t>();
    // The system's news of a power setting always points at the setting.
    POWERBROADCAST_SETTING setting{input->ConsumeBool() ? GUID_CONSOLE_DISPLAY_STATE
                                                        : GUID_ACDC_POWER_SOURCE,
                                   input->ConsumeIntegralInRange<DWORD>(0, 1),
                                   {input->ConsumeIntegral<BYTE>()}};
    if (message == WM_POWERBROADCAST && wparam == PBT_POWERSETTINGCHANGE)
        lparam = reinterpret_cast<LPARAM>(&setting);
    fake.cursor.x += input->ConsumeIntegral<std::int8_t>();
    fake.cursor.y += input->ConsumeIntegral<std::int8_t>();
    fake.tick_count += input->ConsumeIntegral<std::uint8_t>() * 4u;

    const bool rules_off = preview_mode || verifying_password;
    const int closes_before = fake.closes_posted();
    SendMessageA(saver_window, message, wparam, lparam);
    if (rules_off && is_user_input(message) && fake.closes_posted() != closes_before)
        std::abort();
    if (inside_verifier != (verifying_password != FALSE))
        std::abort();
}

// The class procedure: the checks hold at every message the window gets,
// also those sent while another is being handled.
LRESULT CALLBACK checked_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    check_close_confirmed_stays();
    const LRESULT result = saver_window_proc(window, message, wparam, lparam);
    check_close_confirmed_stays();
    return result;
}

// As the message loop would, and as the verifier's own dialog does.
void run_posted()
{
    for (int n = 0; n < 32 && !fake.posted.empty(); ++n) {
        const MSG msg = fake.posted.front();
        fake.posted.erase(fake.posted.begin());
        DispatchMessageA(&msg);
    }
}

BOOL fuzzed_verifier(HWND)
{
    // One verification at a time, and only as part of one.
    if (++verifier_depth > 1 || !verifying_password)
        std::abort();
    const int dispatched = input->ConsumeIntegralInRange(0, 3);
    for (int n = 0; n < dispatched && input->remaining_bytes() > 0; ++n) {
        send_one(true);
        run_posted();
    }
    --verifier_depth;
    return input->ConsumeBool() ? TRUE : FALSE;
}

// The window as run_saver makes it, without its loop.
void make_saver(std::uint8_t bits)
{
    reset_shell_and_fake();
    verifier_depth = 0;
    was_confirmed = false;
    const bool preview = (bits & 1) != 0;
    fake.platform_id = (bits & 2) ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32_NT;
    if (bits & 4)
        fake.use_password_value = {1, 0, 0, 0};
    fake.password_cpl = true;
    fake.imm_loaded = (bits & 8) != 0;
    fake.verifier = fuzzed_verifier;
    fake.foreign_windows = {host};

    legacy_platform = fake.platform_id == VER_PLATFORM_WIN32_WINDOWS;
    preview_mode = preview ? TRUE : FALSE;
    if (!preview)
        load_password_support();
    autoplay_message = legacy_platform ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = checked_proc;
    window_class.lpszClassName = saver_class_name;
    RegisterClassA(&window_class);
    saver_window =
        CreateWindowExA(0, saver_class_name, preview ? "Preview" : "Screen Saver", WS_VISIBLE, 0, 0,
                        640, 480, preview ? host : nullptr, nullptr, nullptr, nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    input = &provider;
    make_saver(provider.ConsumeIntegral<std::uint8_t>());
    while (provider.remaining_bytes() > 0) {
        send_one(false);
        run_posted();
    }
    unload_password_support();
    return 0;
}
