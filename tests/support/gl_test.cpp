#include "support/gl_test.h"

#include "shell/frame_clock.h"

namespace
{

std::int64_t test_ms = 0;

std::int64_t test_clock()
{
    return test_ms;
}

} // namespace

void set_test_clock(std::int64_t ms)
{
    test_ms = ms;
    set_millisecond_source(test_clock);
}
