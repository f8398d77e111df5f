#include <gtest/gtest.h>

#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
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

namespace
{
std::string file_text(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}
} // namespace

TEST(SystemTest, TheCurrentUsersKeysLiveInAFileAPersonCanReadAndEdit)
{
    char folder[] = "/tmp/orbdrift-registry.XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    setenv("XDG_CONFIG_HOME", folder, 1);
    const std::string path = std::string(folder) + "/orbdrift/settings";
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\orbdrift", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\orbdrift", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (DWORD speed : {150u, 200u}) // the second replaces the first
        EXPECT_EQ(RegSetValueExA(key, "Speed", 0, REG_DWORD, reinterpret_cast<BYTE*>(&speed), 4),
                  ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, "Texture", 0, REG_SZ, reinterpret_cast<const BYTE*>("SMOKE"), 6),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, "Two", 0, REG_SZ, reinterpret_cast<const BYTE*>("a\nb"), 4),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(file_text(path), "[Software\\orbdrift]\nSpeed=200\nTexture=SMOKE\n");

    // A person's edit, with garbage around it and names in other cases.
    std::ofstream(path) << "garbage\n[Software\\orbdrift]\r\nspeed=75\nno value\nTexture=FOG\n"
                           "[Other]\nSpeed=9\n";
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software\\ORBDRIFT", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    EXPECT_EQ(RegQueryValueExA(key, "Speed", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(value, 75u);
    char name[3] = {};
    size = sizeof name;
    EXPECT_EQ(RegQueryValueExA(key, "Texture", nullptr, &type, reinterpret_cast<BYTE*>(name), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 4u); // "FOG" and its end
    EXPECT_EQ(RegQueryValueExA(key, "no value", nullptr, &type, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);

    // Where the folder should be there is a file: the save fails and says why.
    setenv("XDG_CONFIG_HOME", path.c_str(), 1);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\orbdrift", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const LSTATUS status =
        RegSetValueExA(key, "Speed", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
    char reason[64] = {};
    EXPECT_GT(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, static_cast<DWORD>(status), 0,
                             reason, sizeof reason, nullptr),
              0u);
    EXPECT_STREQ(reason, "The system cannot find the path specified.");
    RegCloseKey(key);
    std::remove(path.c_str());
    rmdir((std::string(folder) + "/orbdrift").c_str());
    EXPECT_EQ(rmdir(folder), 0); // nothing left behind, no temporary file either
}
