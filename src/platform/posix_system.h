#pragma once
// What the system calls' file shares with the rest of the host layer.
#include <cstdint>

namespace posix
{

// Milliseconds of the monotonic clock in 64 bits, which no jump of the clock
// wraps round; GetTickCount is their low 32 bits, as on Windows. Timers read
// it here, and a test may put a clock of its own in its place.
std::uint64_t steady_milliseconds();
extern std::uint64_t (*tick_source)();

// What ExitProcess sends on its way before the process ends, set by whoever
// holds it: a window system's connection with requests not yet sent.
extern void (*flush_before_exit)();

} // namespace posix
