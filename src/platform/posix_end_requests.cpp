#include "platform/posix_end_requests.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

namespace
{

const int end_signals[] = {SIGTERM, SIGINT, SIGHUP};

// A pipe to itself: writing is all a signal handler may do to wake a poll.
int wake_pipe[2] = {-1, -1};

// The late end's timer is a POSIX one because it may be armed inside a
// signal handler and counts in milliseconds, where alarm() counts seconds.
timer_t deadline;
volatile sig_atomic_t late_ends_with_0 = 0;
volatile sig_atomic_t deadline_armed = 0;

void on_deadline(int)
{
    _exit(0);
}

// Armed once: more requests must not put the end further off. SIGALRM is
// taken only now, so that one from elsewhere before stays fatal.
void arm_deadline()
{
    if (!late_ends_with_0 || deadline_armed)
        return;
    deadline_armed = 1;
    struct sigaction action {
    };
    action.sa_handler = on_deadline;
    sigemptyset(&action.sa_mask);
    sigaction(SIGALRM, &action, nullptr);
    itimerspec quarter_second{};
    quarter_second.it_value.tv_nsec = 250'000'000;
    timer_settime(deadline, 0, &quarter_second, nullptr);
}

void on_end_request(int)
{
    const int saved = errno; // the code the signal interrupted may be reading it
    arm_deadline();
    const char byte = 0;
    if (write(wake_pipe[1], &byte, 1) < 0) {
        // The pipe is full, so whoever polls it is woken already.
    }
    errno = saved;
}

bool make_deadline()
{
    sigevent event{};
    event.sigev_notify = SIGEV_SIGNAL;
    event.sigev_signo = SIGALRM;
    return timer_create(CLOCK_MONOTONIC, &event, &deadline) == 0;
}

} // namespace

void watch_end_requests(LateEnd late)
{
    if (wake_pipe[0] >= 0 || pipe2(wake_pipe, O_NONBLOCK | O_CLOEXEC) != 0)
        return;
    late_ends_with_0 = late == LateEnd::ends_with_0 && make_deadline();
    struct sigaction action {
    };
    action.sa_handler = on_end_request;
    action.sa_flags = SA_RESTART; // a settings file half read for a signal would lose settings
    sigemptyset(&action.sa_mask);
    for (int signal_number : end_signals)
        sigaddset(&action.sa_mask, signal_number); // one handler at a time
    for (int signal_number : end_signals)
        sigaction(signal_number, &action, nullptr);
    // A mask is inherited across exec: a daemon that starts the saver with
    // these blocked would leave its request pending for ever.
    sigset_t taken = action.sa_mask;
    if (late_ends_with_0)
        sigaddset(&taken, SIGALRM);
    sigprocmask(SIG_UNBLOCK, &taken, nullptr);
}

int end_request_fd()
{
    return wake_pipe[0];
}

// The pipe itself says it: a request that comes while it is drained leaves
// its byte for the next call.
bool take_end_request()
{
    char drained[64];
    bool asked = false;
    while (read(wake_pipe[0], drained, sizeof drained) > 0)
        asked = true;
    return asked;
}
