#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

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

namespace
{

BOOL animations_now()
{
    BOOL animations = 2;
    EXPECT_TRUE(SystemParametersInfoA(SPI_GETCLIENTAREAANIMATION, 0, &animations, 0));
    return animations;
}

} // namespace

// KDE's file, read from a scratch XDG_CONFIG_HOME; without a session bus
// GNOME's key says nothing, and a desktop that says nothing animates.
TEST(SystemTest, TheDesktopsWishForAnimationComesFromKdesFile)
{
    char home[] = "/tmp/orbdrift-kde-XXXXXX";
    ASSERT_NE(mkdtemp(home), nullptr);
    setenv("XDG_CONFIG_HOME", home, 1);
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
    const std::string file = std::string(home) + "/kdeglobals";
    const struct {
        const char* text;
        BOOL animations;
    } cases[] = {{nullptr, TRUE},
                 {"[KDE]\nAnimationDurationFactor=0\n", FALSE},
                 {"[KDE]\n AnimationDurationFactor = 0.0 \r\n", FALSE},
                 {"[KDE]\nAnimationDurationFactor=0.5\n", TRUE},
                 {"[General]\nAnimationDurationFactor=0\n[KDE]\nSingleClick=false\n", TRUE}};
    for (const auto& c : cases) {
        if (c.text) {
            FILE* out = std::fopen(file.c_str(), "w");
            ASSERT_NE(out, nullptr);
            std::fputs(c.text, out);
            std::fclose(out);
        }
        EXPECT_EQ(animations_now(), c.animations) << (c.text ? c.text : "no file");
    }

    // Only a regular file is KDE's word, read as the settings file is (whose
    // test bounds the size): a FIFO nobody writes would hold up the start.
    std::remove(file.c_str());
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
    EXPECT_EQ(animations_now(), TRUE) << "a FIFO";
    std::remove(file.c_str());
    rmdir(home);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
}
