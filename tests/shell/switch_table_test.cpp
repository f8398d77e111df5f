#include <gtest/gtest.h>

#include <string>

#include "shell/saver_entry.h"
#include "shell/saver_process.h"
#include "support/fake_win32.h"

namespace
{

// Its digits include both ends, 0 and 9, of those a handle is read from.
const HWND host = fake_window(1209);
const HWND focused = fake_window(456);

struct SwitchCase {
    const char* tail;
    int exit_code;
    const char* call; // the call that shows which mode ran, or "" for none
};

void PrintTo(const SwitchCase& c, std::ostream* out)
{
    *out << '"' << c.tail << '"';
}

class SwitchTable : public ::testing::TestWithParam<SwitchCase>
{
};

} // namespace

TEST_P(SwitchTable, TheFirstSwitchLetterChoosesTheMode)
{
    const SwitchCase& c = GetParam();
    fake.foreign_windows = {host, focused};
    fake.foreground = focused;
    std::string tail = c.tail;
    EXPECT_EQ(saver_main(GetModuleHandleA(nullptr), nullptr, &tail[0], SW_SHOWDEFAULT),
              c.exit_code);
    if (*c.call) {
        EXPECT_EQ(fake.count(c.call), 1) << ::testing::PrintToString(fake.calls);
    }
    EXPECT_EQ(fake.count("SetUnhandledExceptionFilter"), 1);
    const bool saving = std::string(c.call).find("Screen Saver") != std::string::npos;
    if (saving || std::string(c.call).find("Preview") != std::string::npos) {
        EXPECT_EQ(fake.window_style, saving ? 0x96000000u : 0x52000000u);
        EXPECT_EQ(fake.window_ex_style, saving ? DWORD(WS_EX_TOPMOST) : 0u);
        EXPECT_EQ(fake.window_origin.x + fake.window_origin.y, saving ? 14 : 0);
        EXPECT_EQ(fake.count("SetForegroundWindow(4096)"), saving ? 1 : 0);
        EXPECT_EQ(fake.count("SetCursor(0)"), saving ? 1 : 0); // hidden from the start
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tails, SwitchTable,
    ::testing::Values(SwitchCase{"", 1, "DialogBoxParamA(0)"},
                      SwitchCase{" - / ", 1, "DialogBoxParamA(0)"},
                      SwitchCase{"/s", 0, "CreateWindowExA(Screen Saver,640x480,0)"},
                      SwitchCase{"-S", 0, "CreateWindowExA(Screen Saver,640x480,0)"},
                      SwitchCase{" s", 0, "CreateWindowExA(Screen Saver,640x480,0)"},
                      SwitchCase{"/scr", 0, "CreateWindowExA(Screen Saver,640x480,0)"},
                      SwitchCase{"/p 1209", 0, "CreateWindowExA(Preview,152x112,1209)"},
                      SwitchCase{"/l   1209", 0, "CreateWindowExA(Preview,152x112,1209)"},
                      SwitchCase{"/p", -1, ""}, SwitchCase{"/p 999", -1, ""},
                      SwitchCase{"/p 99999999999999999999999999", -1, ""}, // wraps, no window
                      SwitchCase{"/c:1209", 1, "DialogBoxParamA(1209)"},
                      SwitchCase{"/c", 1, "DialogBoxParamA(456)"},
                      SwitchCase{"/c 1209", 1, "DialogBoxParamA(456)"},
                      SwitchCase{"/c:0", 1, "DialogBoxParamA(456)"},
                      SwitchCase{"/c:999", 1, "DialogBoxParamA(456)"},
                      SwitchCase{"/a 1209", -1, ""}, SwitchCase{"/x", -1, ""}));

TEST(Switches, CancellingTheDialogGivesZero)
{
    fake.dialog_answer = IDCANCEL;
    std::string tail = "/c";
    EXPECT_EQ(saver_main(nullptr, nullptr, &tail[0], SW_SHOWDEFAULT), 0);
}

TEST(Switches, PasswordChangeOnlyOnTheOlderFamily)
{
    std::string tail = "/a 1209";
    fake.foreign_windows = {host};
    fake.mpr = true;
    EXPECT_EQ(saver_main(nullptr, nullptr, &tail[0], SW_SHOWDEFAULT), -1);
    EXPECT_EQ(fake.count("LoadLibraryA(MPR.DLL)"), 0);

    fake.platform_id = VER_PLATFORM_WIN32_WINDOWS;
    EXPECT_EQ(saver_main(nullptr, nullptr, &tail[0], SW_SHOWDEFAULT), 0);
    EXPECT_EQ(fake.count("PwdChangePasswordA(SCRSAVE,1209,0,0)"), 1);
    EXPECT_EQ(fake.count("FreeLibrary"), 1);
    std::string no_window = "/a 999"; // owned by the foreground window instead
    fake.foreground = fake_window(456);
    EXPECT_EQ(saver_main(nullptr, nullptr, &no_window[0], SW_SHOWDEFAULT), 0);
    EXPECT_EQ(fake.count("PwdChangePasswordA(SCRSAVE,456,0,0)"), 1);

    fake.change_entry = false;
    EXPECT_EQ(saver_main(nullptr, nullptr, &tail[0], SW_SHOWDEFAULT), 0);
    fake.mpr = false;
    EXPECT_EQ(saver_main(nullptr, nullptr, &tail[0], SW_SHOWDEFAULT), 0);
    EXPECT_EQ(fake.count("PwdChangePasswordA(SCRSAVE,1209,0,0)"), 1);
    // The platform never hears of a running saver from this mode.
    for (const std::string& call : fake.calls)
        EXPECT_EQ(call.find("SystemParametersInfoA"), std::string::npos);
}

TEST(Switches, TheProgramNameIsSkippedQuotedOrNot)
{
    fake.command_line = "\"C:\\Program Files\\orbdrift.scr\" /c"; // the quote closed too
    EXPECT_EXIT(process_start(), ::testing::ExitedWithCode(1), "");
    fake.command_line = "C:\\orbdrift.scr   /x";
    EXPECT_EXIT(process_start(), ::testing::ExitedWithCode(255), "");
    // An unterminated quote swallows everything: configuration, answered OK.
    fake.command_line = "\"C:\\Program Files\\orbdrift.scr /x";
    EXPECT_EXIT(process_start(), ::testing::ExitedWithCode(1), "");
}

TEST(Switches, ACrashEndsWithItsOwnExitCodeAndClearsTheRunningState)
{
    fake.platform_id = VER_PLATFORM_WIN32_WINDOWS;
    std::string tail = "/x";
    saver_main(nullptr, nullptr, &tail[0], SW_SHOWDEFAULT);
    EXPECT_EXIT(
        {
            fake.calls.clear();
            saver_crash_filter(nullptr);
        },
        ::testing::ExitedWithCode(saver_crash_exit_code), "SystemParametersInfoA\\(97,0\\)");
}
