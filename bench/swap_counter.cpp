// Preloaded into a running saver (LD_PRELOAD) to count its frames: every
// glXSwapBuffers (eglSwapBuffers on Wayland) bumps a count kept, with the monotonic times of the
// first and the latest swap, in the file named by SWAP_COUNTER_FILE. The saver ends with _Exit and
// runs no destructors, so the count lives in a shared mapping of that file, which holds it whatever
// way the process ends, and a swap costs no system call.
//
// The file holds one line, padded with blanks: "COUNT FIRST_NS LAST_NS
// FIRST_CPU_NS SHOWN", FIRST_CPU_NS being the CPU time of all the process's
// threads up to the first swap, which a busy machine does not stretch as it
// does the wall time. With SWAP_COUNTER_REFRESH_NS, the period of a display's
// refresh, SHOWN counts the frames such a display would show: those that are
// the last before a refresh, a frame that another follows within the same
// refresh being one nobody sees. A display's refreshes fall anywhere beside
// the frames, so the count is summed over shown_phases refreshes as many
// fractions of a period apart, and SHOWN / shown_phases is the frames shown.
#include <EGL/egl.h>
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace
{

constexpr std::size_t line_size = 96;
constexpr int shown_phases = 8;

char* mapped = nullptr;
unsigned long long swaps = 0;
long long first_ns = 0;
long long first_cpu_ns = 0;
long long refresh_ns = 0;
long long latest_refresh[shown_phases]; // of the latest swap, in each phase
unsigned long long shown = 0;

// The frames shown are the refreshes' periods that hold a swap: the last
// swap of each is the one its refresh shows.
void count_shown(long long now)
{
    for (int phase = 0; phase < shown_phases; ++phase) {
        const long long refresh = (now - first_ns + phase * refresh_ns / shown_phases) / refresh_ns;
        if (swaps == 1 || refresh != latest_refresh[phase])
            ++shown;
        latest_refresh[phase] = refresh;
    }
}

long long clock_ns(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// Opened at the first swap, after its time is taken, so that opening it does
// not count as start-up.
char* open_line()
{
    const char* path = std::getenv("SWAP_COUNTER_FILE");
    if (!path || !*path)
        return nullptr;
    const int fd = open(path, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return nullptr;
    void* map = MAP_FAILED;
    if (ftruncate(fd, line_size) == 0)
        map = mmap(nullptr, line_size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    return map == MAP_FAILED ? nullptr : static_cast<char*>(map);
}

void record(long long now)
{
    ++swaps;
    if (swaps == 1) {
        first_ns = now;
        first_cpu_ns = clock_ns(CLOCK_PROCESS_CPUTIME_ID);
        mapped = open_line();
        const char* period = std::getenv("SWAP_COUNTER_REFRESH_NS");
        refresh_ns = period ? std::atoll(period) : 0;
    }
    if (refresh_ns > 0)
        count_shown(now);
    if (!mapped)
        return;
    char line[line_size];
    std::memset(line, ' ', sizeof line);
    const int n = std::snprintf(line, sizeof line, "%llu %lld %lld %lld %llu", swaps, first_ns, now,
                                first_cpu_ns, shown);
    if (n > 0 && static_cast<std::size_t>(n) < sizeof line)
        line[n] = ' ';
    line[line_size - 1] = '\n';
    std::memcpy(mapped, line, line_size);
}

} // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    using Swap = void (*)(Display*, GLXDrawable);
    static const auto real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    if (real)
        real(display, drawable);
    record(clock_ns(CLOCK_MONOTONIC));
}

extern "C" EGLBoolean eglSwapBuffers(EGLDisplay display, EGLSurface surface)
{
    using Swap = EGLBoolean (*)(EGLDisplay, EGLSurface);
    static const auto real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "eglSwapBuffers"));
    const EGLBoolean shown = real ? real(display, surface) : EGL_FALSE;
    record(clock_ns(CLOCK_MONOTONIC));
    return shown;
}
