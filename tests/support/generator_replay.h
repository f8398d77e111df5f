#pragma once
#include <cstdint>

// The shared generator's sequence worked out on the side, without touching
// the generator: what tests compare draw counts and drawn values against.
inline std::uint32_t state_after_draws(std::uint32_t state, long draws)
{
    for (long i = 0; i < draws; ++i)
        state = state * 214013u + 2531011u;
    return state;
}

// The draw that a generator in this state makes next.
inline int next_draw(std::uint32_t state)
{
    return static_cast<int>((state_after_draws(state, 1) >> 16) & 0x7FFFu);
}

// The first state whose next draws pass the test, given the draws' positions.
template <typename Test> std::uint32_t state_where(Test test)
{
    for (std::uint32_t state = 0;; ++state) {
        const auto draw = [state](long k) { return next_draw(state_after_draws(state, k)); };
        if (test(draw))
            return state;
    }
}

// The first state whose next draw is the given value.
inline std::uint32_t state_before_draw(int wanted)
{
    for (std::uint32_t state = 0;; ++state)
        if (next_draw(state) == wanted)
            return state;
}
