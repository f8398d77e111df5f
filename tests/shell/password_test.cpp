// The older platform family's password check, which only a fake can show.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "shell/close_rules.h"
#include "shell/saver_entry.h"
#include "shell/saver_process.h"
#include "shell/saver_window.h"
#include "shell/window_chain.h"
#include "support/fake_win32.h"

namespace
{

const std::string running_on = "SystemParametersInfoA(97,1)";
const std::string running_off = "SystemParametersInfoA(97,0)";

// Saving mode on the older family with the password in use, the window made
// as run_saver makes it but without its loop.
HWND make_protected_saver()
{
    fake.platform_id = VER_PLATFORM_WIN32_WINDOWS;
    fake.use_password_value = {1, 0, 0, 0};
    fake.password_cpl = true;
    std::string tail = "/x"; // sets the platform flags and returns
    saver_main(nullptr, nullptr, &tail[0], SW_SHOWDEFAULT);
    load_password_support();
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = saver_window_proc;
    window_class.lpszClassName = saver_class_name;
    RegisterClassA(&window_class);
    saver_window = CreateWindowExA(WS_EX_TOPMOST, saver_class_name, "Screen Saver", WS_VISIBLE, 0,
                                   0, 640, 480, nullptr, nullptr, nullptr, nullptr);
    fake.posted.clear();
    return saver_window;
}

LRESULT send(HWND window, UINT message, WPARAM wparam = 0)
{
    return SendMessageA(window, message, wparam, 0);
}

bool destroyed()
{
    return fake.count("DestroyWindow") > 0;
}

// 0 when, with one piece of the password support missing, the platform is not
// told of a running saver and a close destroys the window without asking.
int close_without_verifier(int missing)
{
    const HWND window = make_protected_saver();
    unload_password_support();
    if (missing == 0)
        fake.use_password_value = {0, 0, 0, 0};
    if (missing == 1)
        fake.password_cpl = false;
    if (missing == 2)
        fake.verify_entry = false;
    if (missing == 3)
        fake.desktop_key = false;
    fake.calls.clear();
    load_password_support();
    if (fake.count(running_on) != 0 || verify_password)
        return 2;
    // A four-byte buffer for the value, and a key that was not opened is not closed.
    if (fake.count("RegQueryValueExA(ScreenSaveUsePassword,4)") != (missing == 3 ? 0 : 1) ||
        fake.count("RegCloseKey") != (missing == 3 ? 0 : 1))
        return 3;
    send(window, WM_CLOSE);
    return destroyed() && fake.verifier_calls == 0 ? 0 : 1;
}

} // namespace

TEST(Password, TheVerifierIsLoadedAndThePlatformToldOnlyWhileItIsThere)
{
    make_protected_saver();
    ASSERT_NE(verify_password, nullptr);
    EXPECT_EQ(fake.count(running_on), 1);
    unload_password_support();
    EXPECT_EQ(verify_password, nullptr);
    EXPECT_EQ(fake.count(running_off), 1);
    EXPECT_EQ(fake.count("RegCloseKey"), 1);
}

TEST(Password, ARefusedPasswordKeepsTheSaverAndGuardsTheNext200Ms)
{
    const HWND window = make_protected_saver();
    fake.verifier = [](HWND) { return FALSE; };
    fake.cursor = {300, 200};
    fake.tick_count = 0xFFFFFFFFu - 99; // the counter wraps within the guard
    fake.calls.clear();
    EXPECT_EQ(send(window, WM_CLOSE), 0);
    EXPECT_EQ(fake.verifier_calls, 1);
    EXPECT_FALSE(destroyed());
    EXPECT_EQ(mouse_reference.x, 300); // measured afresh
    EXPECT_EQ(mouse_reference.y, 200);
    EXPECT_EQ(fake.count("PeekMessageA(275,275,3)"), 2); // pending ticks removed
    EXPECT_EQ(fake.count("SetCursor(0)"), 1);            // hidden again

    fake.tick_count += 150;
    send(window, WM_CLOSE);
    EXPECT_EQ(fake.verifier_calls, 1); // refused without asking

    fake.tick_count += 50; // 200 ms after the first
    fake.verifier = [](HWND) { return TRUE; };
    send(window, WM_CLOSE);
    EXPECT_EQ(fake.verifier_calls, 2);
    EXPECT_TRUE(destroyed());
}

TEST(Password, WhileTheVerifierRunsInputIsIgnoredAndClosesAreRefused)
{
    const HWND window = make_protected_saver();
    fake.verifier = [window](HWND) {
        // The verifier's own dialog keeps dispatching the saver's messages.
        send(window, WM_KEYDOWN);
        EXPECT_EQ(send(window, WM_CLOSE), 0);
        EXPECT_FALSE(destroyed());
        return TRUE;
    };
    send(window, WM_CLOSE);
    EXPECT_EQ(fake.verifier_calls, 1);
    EXPECT_EQ(fake.closes_posted(), 0);
    EXPECT_TRUE(destroyed());
}

TEST(Password, OnlyTheWindowsOwnRequestRunsTheVerifierAndOnlyOnce)
{
    const HWND window = make_protected_saver();
    // Any program can send the request; it must not open a dialog by itself.
    EXPECT_EQ(send(window, verification_request), 0);
    EXPECT_EQ(fake.verifier_calls, 0);
    verifying_password = TRUE; // a verification without a verifier passes
    const VerifyPasswordProc verifier = verify_password;
    verify_password = nullptr;
    EXPECT_EQ(send(window, verification_request), 1);
    verify_password = verifier;
    verifying_password = FALSE;

    fake.verifier = [window](HWND) {
        if (fake.verifier_calls == 1) { // nor stack a second one on the open dialog
            EXPECT_EQ(send(window, verification_request), 0);
        }
        return TRUE;
    };
    send(window, WM_CLOSE);
    EXPECT_EQ(fake.verifier_calls, 1);
    EXPECT_TRUE(destroyed());
}

TEST(Password, OnceAcceptedTicksDrawNothingAndInputGoesStraightThrough)
{
    const HWND window = make_protected_saver();
    verify_before_close(window);
    ASSERT_TRUE(close_confirmed);
    fake.calls.clear();
    EXPECT_EQ(send(window, WM_TIMER, 1), 0);
    EXPECT_EQ(fake.count("Sleep(0)"), 0);
    EXPECT_EQ(fake.count("SwapBuffers"), 0);
    send(window, WM_KEYDOWN);
    send(window, WM_PAINT);
    EXPECT_EQ(fake.closes_posted(), 0);
    EXPECT_EQ(fake.count("SetCursor(0)"), 0);
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"DefWindowProcA(256)", "DefWindowProcA(15)"}));
}

TEST(Password, WithoutTheVerifierOrTheValueEveryCloseIsImmediate)
{
    for (int variant = 0; variant < 4; ++variant)
        EXPECT_EXIT(_exit(close_without_verifier(variant)), ::testing::ExitedWithCode(0), "")
            << "variant " << variant;
}

TEST(Password, AShortValueIsReadAsTheBytesItHas)
{
    fake.platform_id = VER_PLATFORM_WIN32_WINDOWS;
    fake.password_cpl = true;
    std::string tail = "/x";
    saver_main(nullptr, nullptr, &tail[0], SW_SHOWDEFAULT);
    fake.use_password_value = {0};
    load_password_support();
    EXPECT_EQ(verify_password, nullptr);
    fake.use_password_value = {1};
    load_password_support();
    EXPECT_NE(verify_password, nullptr);
    fake.use_password_value = {1, 0, 0, 0, 0}; // too long for the buffer: not read at all
    load_password_support();
    EXPECT_EQ(verify_password, nullptr);
}

TEST(Password, OnlySavingLoadsTheVerifierAndTheEndOfTheLoopUnloadsIt)
{
    fake.platform_id = VER_PLATFORM_WIN32_WINDOWS;
    fake.use_password_value = {1, 0, 0, 0};
    fake.password_cpl = true;
    fake.foreign_windows = {fake_window(123)};
    std::string tail = "/p 123";
    EXPECT_EQ(saver_main(nullptr, nullptr, &tail[0], SW_SHOWDEFAULT), 0);
    EXPECT_EQ(fake.count("RegOpenKeyA(Control Panel\\Desktop)"), 0);
    EXPECT_EQ(fake.count("RegisterWindowMessageA(QueryCancelAutoPlay)"), 1);

    preview_mode = FALSE;
    fake.calls.clear();
    tail = "/s";
    EXPECT_EQ(saver_main(nullptr, nullptr, &tail[0], SW_SHOWDEFAULT), 0);
    EXPECT_EQ(fake.count("RegOpenKeyA(Control Panel\\Desktop)"), 1);
    EXPECT_EQ(fake.count("RegisterWindowMessageA(QueryCancelAutoPlay)"), 1);
    EXPECT_EQ(fake.calls.back(), running_off);
    EXPECT_EQ(fake.count("FreeLibrary"), 1);
    EXPECT_EQ(verify_password, nullptr);
}

TEST(Password, AutoplayIsCancelledOnlyWhenAPasswordProtectsTheSaver)
{
    const HWND window = make_protected_saver();
    EXPECT_EQ(fake.count("RegisterWindowMessageA(QueryCancelAutoPlay)"), 0); // run_saver does it
    autoplay_message = RegisterWindowMessageA("QueryCancelAutoPlay");
    send(window, WM_PAINT);
    EXPECT_EQ(fake.closes_posted(), 0); // only the autoplay message itself
    EXPECT_EQ(send(window, autoplay_message), 1);
    EXPECT_EQ(fake.closes_posted(), 1);
    unload_password_support();
    EXPECT_EQ(send(window, autoplay_message), 0);
}
