#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

// A private X server for one test: Xvfb on a display of its own, with or
// without GLX, and any further options of Xvfb's (more screens, extensions
// off). DISPLAY points at it while it runs.
class XvfbServer
{
public:
    explicit XvfbServer(bool with_glx = true, std::vector<std::string> options = {});
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;
    virtual ~XvfbServer();

    bool running() const { return !name_.empty(); }
    // What the server said on stderr when it failed to start.
    const std::string& failure() const { return failure_; }
    void stop();

private:
    void start(int display_number);

    std::vector<std::string> arguments_;
    pid_t pid_ = -1;
    std::string name_;
    std::string failure_;
};

// Runs xdotool with the given arguments against DISPLAY; true on success.
bool xdotool(const std::string& arguments);
