// Exits with 0 while 200 threads hold blocks of a run-time module's thread-
// local storage, as the saver exits with Mesa's threads: a block starting 16
// bytes into a page, which some of them do, must not crash the leak check at
// exit and turn the 0 into a 1.
// Usage: thread_local_exit MODULE
#include <dlfcn.h>
#include <pthread.h>
#include <unistd.h>

namespace
{

using Block = char* (*)();

int ready[2]; // a byte from each thread once its block is made
int held[2];  // never written: the threads wait on it until the exit

void* hold_block(void* use)
{
    reinterpret_cast<Block>(use)()[0] = 1;
    const char byte = 0;
    if (write(ready[1], &byte, 1) == 1) {
        char never;
        const ssize_t none = read(held[0], &never, 1);
        static_cast<void>(none);
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    void* module = argc == 2 ? dlopen(argv[1], RTLD_NOW) : nullptr;
    void* use = module ? dlsym(module, "thread_block") : nullptr;
    if (!use || pipe(ready) != 0 || pipe(held) != 0)
        return 2;
    constexpr int threads = 200;
    for (int i = 0; i < threads; ++i) {
        pthread_t thread;
        if (pthread_create(&thread, nullptr, hold_block, use) != 0)
            return 2;
    }
    for (int made = 0; made < threads; ++made) {
        char byte;
        if (read(ready[0], &byte, 1) != 1)
            return 2;
    }
    return 0;
}
