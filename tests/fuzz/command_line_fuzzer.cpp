// Any command tail into the shell's entry, on a fake platform whose set-up
// the first byte chooses. A run must end, with an exit code its mode can give
// and with at most one window made.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/shell_state.h"

namespace
{

const HWND host = fake_window(123);
const HWND other_saver = fake_window(77);
const HWND first_window = fake_window(0x1000); // the fake numbers windows from here

void set_up_platform(std::uint8_t bits)
{
    reset_shell_and_fake();
    fake.platform_id = (bits & 1) ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32_NT;
    if (bits & 2)
        fake.use_password_value = {1, 0, 0, 0};
    fake.password_cpl = (bits & 4) != 0;
    fake.mpr = (bits & 8) != 0;
    fake.foreign_windows = {host, other_saver};
    fake.running_saver = (bits & 16) ? other_saver : nullptr;
    fake.dialog_answer = (bits & 32) ? IDCANCEL : IDOK;
    fake.imm_loaded = (bits & 64) != 0;
    const BOOL answer = (bits & 128) ? FALSE : TRUE;
    fake.verifier = [answer](HWND) { return answer; };
    fake.foreground = host;
    // A key press waits for the saver window, so that a saving run goes
    // through the close rules and the verifier before its loop ends.
    fake.posted = {MSG{first_window, WM_KEYDOWN, 0x20, 1, 0, {}}};
}

// The first switch letter, lower case, or 0 for none.
char switch_letter(const char* tail)
{
    for (; *tail == ' ' || *tail == '-' || *tail == '/'; ++tail) {
    }
    const char c = *tail;
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool allowed(char letter, int code)
{
    switch (letter) {
    case '\0':
    case 'c':
        return code == (fake.dialog_answer == IDOK ? 1 : 0);
    case 's':
        return code == 0;
    case 'p':
    case 'l':
        return code == 0 || code == -1;
    case 'a':
        return code == (fake.platform_id == VER_PLATFORM_WIN32_WINDOWS ? 0 : -1);
    default:
        return code == -1;
    }
}

int windows_made()
{
    return static_cast<int>(std::count_if(fake.calls.begin(), fake.calls.end(), [](const auto& c) {
        return c.rfind("CreateWindowExA", 0) == 0;
    }));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    set_up_platform(data[0]);
    // Bytes after a NUL are past the end of the command line.
    std::string tail(reinterpret_cast<const char*>(data + 1), size - 1);
    tail.resize(std::char_traits<char>::length(tail.c_str()));

    const char letter = switch_letter(tail.c_str());
    const int code = saver_main(nullptr, nullptr, &tail[0], SW_SHOWDEFAULT);
    const int made = windows_made();
    const bool opens_window = letter == 's' || letter == 'p' || letter == 'l';
    if (!allowed(letter, code) || made > 1 || (made == 1 && !opens_window))
        std::abort();
    return 0;
}
