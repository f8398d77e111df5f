#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/win32.h"
#include "support/xvfb_server.h"

struct SeenMessage {
    HWND window;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    int power_state; // of a power setting's news, else -1
};

// What the test windows' procedure has received, in order.
extern std::vector<SeenMessage> seen;
bool saw(UINT message);

// Logs every message; WM_DESTROY posts the quit message, as the saver does.
LRESULT CALLBACK test_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

HWND make_test_window(DWORD style, int width, int height, HWND parent = nullptr);

// Dispatches messages until done() holds; false after timeout_ms.
bool pump_until(const std::function<bool()>& done, DWORD timeout_ms = 5000);

// A test with its own X server.
class XServerTest : public ::testing::Test
{
protected:
    explicit XServerTest(bool with_glx = true) : server(with_glx) {}
    void SetUp() override
    {
        ASSERT_TRUE(server.running()) << "Xvfb did not start:\n" << server.failure();
    }

    XvfbServer server;
};
