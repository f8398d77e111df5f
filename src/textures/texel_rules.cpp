#include "textures/texel_rules.h"

#include <cmath>
#include <cstdlib>

#include "common/random.h"

namespace
{

// Visits rows from 0 up and, within a row, columns from 0 up: the order in
// which the random kinds draw.
template <typename Rule> void for_each_texel(const TexelTarget& target, Rule rule)
{
    for (int y = 0; y < target.height; ++y)
        for (int x = 0; x < target.width; ++x)
            rule(x, y);
}

struct Centre {
    int x;
    int y;
};

Centre centre_of(const TexelTarget& target)
{
    return {static_cast<int>(target.width * 0.5), static_cast<int>(target.height * 0.5)};
}

// Distance from the centre over half the width, capped at 1.
float disc_distance(const Centre& c, int x, int y)
{
    const float dx = static_cast<float>(x - c.x);
    const float dy = static_cast<float>(y - c.y);
    const float d = std::sqrt(dx * dx + dy * dy) / static_cast<float>(c.x);
    return d > 1.0f ? 1.0f : d;
}

} // namespace

void fill_fleck(const TexelTarget& target)
{
    for_each_texel(target, [&](int x, int y) {
        const float grey = static_cast<float>(rand_scaled(1.0)) * 255.0f;
        target.put(x, y, grey, grey, grey, (grey + grey + grey) / 3.0f);
    });
}

void fill_sphere(const TexelTarget& target)
{
    const Centre c = centre_of(target);
    for_each_texel(target, [&](int x, int y) {
        const float d = disc_distance(c, x, y);
        target.put(x, y, (1.0f - d * d) * 255.0f);
    });
}

void fill_not_sphere(const TexelTarget& target)
{
    const Centre c = centre_of(target);
    for_each_texel(target, [&](int x, int y) {
        const float d = disc_distance(c, x, y);
        target.put(x, y, d * d * 255.0f);
    });
}

void fill_gradient(const TexelTarget& target)
{
    // Negative below row 128: the byte conversion wraps those values.
    for_each_texel(target, [&](int x, int y) {
        target.put(x, y, static_cast<float>((16.0 - std::sqrt(2.0 * y)) * 15.0));
    });
}

void fill_ring(const TexelTarget& target)
{
    const Centre c = centre_of(target);
    for_each_texel(target, [&](int x, int y) {
        const int dx = x - c.x;
        const int dy = y - c.y;
        float t = std::sqrt(static_cast<float>(dx * dx + dy * dy)) / 58.0f;
        if (t > 1.0f)
            t = 9.0f - 8.0f * t;
        target.put(x, y, t < 0.0f ? 0.0f : 255.0f * t);
    });
}

void fill_star(const TexelTarget& target)
{
    const Centre c = centre_of(target);
    for_each_texel(target, [&](int x, int y) {
        const float a = static_cast<float>(c.x - std::abs(x - c.x)) / static_cast<float>(c.x);
        const float b = static_cast<float>(c.y - std::abs(y - c.y)) / static_cast<float>(c.y);
        float v = a * b;
        v = v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
        target.put(x, y, 255.0f * v);
    });
}

void fill_sand(const TexelTarget& target)
{
    for_each_texel(target, [&](int x, int y) {
        const double u = rand_scaled(1.0);
        if (u < 0.001) {
            target.put(x, y, 0.0f, 0.0f, 0.0f, 255.0f); // a rare black speck
        } else if (u < 0.002) {
            target.put(x, y, 255.0f); // a rare white one
        } else {
            const float s = static_cast<float>(rand_scaled(127.0) + 127.0);
            target.put(x, y, s, 0.8f * s, 0.6f * s, s);
        }
    });
}

void fill_black(const TexelTarget& target)
{
    for_each_texel(target, [&](int x, int y) { target.put(x, y, 0.0f, 0.0f, 0.0f, 255.0f); });
}

void fill_check(const TexelTarget& target)
{
    // Alpha is 0 or 1, not 0 or 255.
    for_each_texel(target, [&](int x, int y) {
        const float c = static_cast<float>(1 - (((x / 4) % 2) ^ ((y / 4) % 2)));
        target.put(x, y, 255.0f * c, 255.0f * c, 255.0f * c, c);
    });
}

void fill_grille(const TexelTarget& target)
{
    for_each_texel(
        target, [&](int x, int y) { target.put(x, y, x % 8 == 0 || y % 8 == 0 ? 255.0f : 0.0f); });
}
