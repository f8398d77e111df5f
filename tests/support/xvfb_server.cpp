#include "support/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>

#include <cstdlib>
#include <string>
#include <vector>

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

// Xvfb writes the display number and the newline in two writes, and dies when
// the second finds the pipe closed; so the line is read to its end.
std::string read_line(int fd, int timeout_ms)
{
    std::string line;
    pollfd ready{fd, POLLIN, 0};
    char c = 0;
    while (poll(&ready, 1, timeout_ms) == 1 && read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return c == '\n' ? line : std::string();
}

// What the server said on stderr, for the message of a test that failed.
std::string contents(int fd)
{
    std::string text;
    char chunk[512];
    ssize_t count = 0;
    for (off_t offset = 0; (count = pread(fd, chunk, sizeof chunk, offset)) > 0; offset += count)
        text.append(chunk, static_cast<std::size_t>(count));
    return text;
}

} // namespace

// Xvfb can choose a free display itself, but servers that start together then
// race for the same socket. Each test picks a number from its process id
// instead; Xvfb's lock file turns a rare collision into a quick exit, and the
// next attempt takes another number.
XvfbServer::XvfbServer(bool with_glx, std::vector<std::string> options)
    : arguments_{"Xvfb",
                 "",
                 "-displayfd",
                 "",
                 "-screen",
                 "0",
                 "640x480x24",
                 "-nolisten",
                 "tcp",
                 "-noreset",
                 with_glx ? "+extension" : "-extension",
                 "GLX"}
{
    arguments_.insert(arguments_.end(), options.begin(), options.end());
    for (int attempt = 0; attempt < 8 && !running(); ++attempt)
        start(100 + (static_cast<int>(getpid()) * 7 + attempt * 131) % 800);
}

void XvfbServer::start(int display_number)
{
    int channel[2];
    char log_path[] = "/tmp/orbdrift-xvfb-XXXXXX";
    const int log = mkstemp(log_path);
    if (log < 0 || pipe(channel) != 0)
        return;
    unlink(log_path);
    pid_ = fork();
    if (pid_ == 0) {
        // A test or fuzzer that crashes must not leave its server running.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(channel[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
        arguments_[1] = ":" + std::to_string(display_number);
        arguments_[3] = std::to_string(channel[1]);
        std::vector<char*> argv;
        for (std::string& argument : arguments_)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        execvp("Xvfb", argv.data());
        _exit(127);
    }
    close(channel[1]);
    // Xvfb writes the display number it chose once it accepts clients.
    const std::string number = pid_ > 0 ? read_line(channel[0], 10000) : std::string();
    close(channel[0]);
    const std::string name = ":" + number;
    if (!number.empty() && accepts_clients(pid_, name)) {
        name_ = name;
        setenv("DISPLAY", name_.c_str(), 1);
    } else {
        stop();
        failure_ += "Xvfb " + std::to_string(display_number) + ": " + contents(log) + "\n";
    }
    close(log);
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
