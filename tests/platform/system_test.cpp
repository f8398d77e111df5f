#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32.h"

TEST(SystemTest, ThisIsTheNtFamilyWithoutTheOlderFamilysServices)
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    EXPECT_EQ(version.dwPlatformId, DWORD(VER_PLATFORM_WIN32_NT));
    version.dwOSVersionInfoSize = 4;
    EXPECT_FALSE(GetVersionExA(&version));

    EXPECT_EQ(LoadLibraryA("PASSWORD.CPL"), nullptr);
    EXPECT_EQ(LoadLibraryA("MPR.DLL"), nullptr);
    EXPECT_EQ(GetModuleHandleA("IMM32.DLL"), nullptr);
    EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(GetProcAddress(GetModuleHandleA(nullptr), "VerifyScreenSavePwd"), nullptr);
    HKEY key = HKEY_CURRENT_USER;
    EXPECT_NE(RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_SUCCESS);
}

TEST(SystemTest, TheCommandLineIsTheProgramsOwn)
{
    const std::string line = GetCommandLineA();
    const std::string program = ::testing::internal::GetArgvs()[0];
    EXPECT_EQ(line.rfind(program, 0), 0u) << line;
    EXPECT_NE(line.find("--gtest"), std::string::npos) << line;
    std::string joined; // every argument in turn, quoted where it holds a blank
    for (const std::string& argument : ::testing::internal::GetArgvs())
        joined += (joined.empty() ? "" : " ") +
                  (argument.find(' ') == std::string::npos ? argument : '"' + argument + '"');
    EXPECT_EQ(line, joined);
    EXPECT_EQ(std::string(GetCommandLineA()), line); // read once

    const DWORD start = GetTickCount();
    Sleep(1000); // a whole second, not a nanosecond count out of range
    EXPECT_GE(GetTickCount() - start, 1000u);
    const DWORD before_short_sleeps = GetTickCount();
    for (int n = 0; n < 5; ++n)
        Sleep(1); // each a real millisecond; only Sleep(0) merely yields
    EXPECT_GE(GetTickCount() - before_short_sleeps, 5u);
    const char text[] = "ab";
    EXPECT_EQ(CharNextA(text), text + 1);
    EXPECT_EQ(CharNextA(text + 2), text + 2);
    STARTUPINFOA startup;
    std::memset(&startup, 0xFF, sizeof startup);
    GetStartupInfoA(&startup);
    EXPECT_EQ(startup.dwFlags & STARTF_USESHOWWINDOW, 0u);
}

namespace
{
LONG CALLBACK exit_with_70(EXCEPTION_POINTERS*)
{
    ExitProcess(70);
}
LONG CALLBACK let_it_crash(EXCEPTION_POINTERS*)
{
    return EXCEPTION_CONTINUE_SEARCH;
}
} // namespace

TEST(SystemTest, ACrashReachesTheFilterFirst)
{
    EXPECT_EXIT(
        {
            SetUnhandledExceptionFilter(exit_with_70);
            std::raise(SIGSEGV);
        },
        ::testing::ExitedWithCode(70), "");
    EXPECT_EXIT(
        {
            SetUnhandledExceptionFilter(let_it_crash);
            std::raise(SIGFPE);
        },
        ::testing::KilledBySignal(SIGFPE), "");
    EXPECT_EXIT( // an ordinary end still lets out what is waiting in a buffer
        {
            std::setvbuf(stderr, nullptr, _IOFBF, 256);
            std::fputs("the last words", stderr);
            ExitProcess(3);
        },
        ::testing::ExitedWithCode(3), "the last words");
}

