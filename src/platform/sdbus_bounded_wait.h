#pragma once
#include <systemd/sd-bus.h>

#include <chrono>

// Waits until the bus has something for sd_bus_process, at the latest until
// deadline: false when the time is up or an end request came first, so that
// no bus, however it answers, holds up a start or an end.
bool wait_on_bus(sd_bus* bus, std::chrono::steady_clock::time_point deadline);
