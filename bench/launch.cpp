// launch FILE PROGRAM [ARGUMENT...]: writes the monotonic time in nanoseconds
// into FILE, then becomes PROGRAM. The time is taken as late as it can be
// before the program starts, and the process keeps its id, so the caller can
// watch the program it started.
#include <unistd.h>

#include <cstdio>
#include <ctime>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: launch FILE PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    std::fprintf(out, "%lld\n",
                 static_cast<long long>(t.tv_sec) * 1000000000LL +
                     static_cast<long long>(t.tv_nsec));
    if (std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    execvp(argv[2], argv + 2);
    std::perror(argv[2]);
    return 127;
}
