#include "common/random.h"

namespace
{
std::uint32_t state = 1;
}

void seed_random(std::uint32_t seed)
{
    state = seed;
}

std::uint32_t random_state()
{
    return state;
}

int random_draw()
{
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

double rand_scaled(double x)
{
    return random_draw() / 32768.0 * x;
}

float rand_gauss(float x)
{
    const double scale = x * 1.414;
    double sum = 0.0;
    for (int i = 0; i < 6; ++i)
        sum += rand_scaled(1.0);
    return static_cast<float>((sum - 3.0) * scale);
}

float rand_scaled(float x)
{
    return static_cast<float>(random_draw()) / 32768.0f * x;
}
