#include "support/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>

#include <cstdlib>
#include <string>

namespace
{

// The server is ready when it is alive and a client can connect.
bool accepts_clients(pid_t pid, const std::string& name)
{
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return false;
        if (Display* d = XOpenDisplay(name.c_str())) {
            XCloseDisplay(d);
            return true;
        }
        usleep(10000);
    }
    return false;
}

} // namespace

// Xvfb can choose a free display itself, but servers that start together then
// race for the same socket. Each test picks a number from its process id
// instead; Xvfb's lock file turns a rare collision into a quick exit, and the
// next attempt takes another number.
XvfbServer::XvfbServer(bool with_glx)
{
    for (int attempt = 0; attempt < 8 && !running(); ++attempt)
        start(with_glx, 100 + (static_cast<int>(getpid()) * 7 + attempt * 131) % 800);
}

void XvfbServer::start(bool with_glx, int display_number)
{
    int channel[2];
    if (pipe(channel) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        // A test or fuzzer that crashes must not leave its server running.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(channel[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        const std::string fd = std::to_string(channel[1]);
        const std::string display = ":" + std::to_string(display_number);
        execlp("Xvfb", "Xvfb", display.c_str(), "-displayfd", fd.c_str(), "-screen", "0",
               "640x480x24", "-nolisten", "tcp", "-noreset", with_glx ? "+extension" : "-extension",
               "GLX", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(channel[1]);
    // Xvfb writes the display number it chose once it accepts clients.
    pollfd ready{channel[0], POLLIN, 0};
    char number[16] = {};
    const bool named =
        pid_ > 0 && poll(&ready, 1, 10000) == 1 && read(channel[0], number, sizeof number - 1) > 0;
    close(channel[0]);
    const std::string name = ":" + std::to_string(std::atoi(number));
    if (named && accepts_clients(pid_, name)) {
        name_ = name;
        setenv("DISPLAY", name_.c_str(), 1);
    } else {
        stop();
    }
}

XvfbServer::~XvfbServer()
{
    stop();
}

void XvfbServer::stop()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
    name_.clear();
}

bool xdotool(const std::string& arguments)
{
    const std::string command = "timeout 10 xdotool " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}
