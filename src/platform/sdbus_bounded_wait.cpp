#include "platform/sdbus_bounded_wait.h"

#include <poll.h>

#include "platform/posix_end_requests.h"

bool wait_on_bus(sd_bus* bus, std::chrono::steady_clock::time_point deadline)
{
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0)
        return false;
    pollfd descriptors[2] = {{sd_bus_get_fd(bus), static_cast<short>(sd_bus_get_events(bus)), 0},
                             {end_request_fd(), POLLIN, 0}};
    return !(poll(descriptors, 2, static_cast<int>(left.count())) > 0 && descriptors[1].revents);
}
