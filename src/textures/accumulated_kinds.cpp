// SMOKE and FOG: passes summed in a grid of floats, scaled to bytes at the end.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/random.h"
#include "textures/texel_rules.h"
#include "textures/texture_slot.h"

namespace
{

// Static, like the texel buffer: a quarter megabyte, used by one call at a time.
float accumulation_grid[accumulation_side * accumulation_side];

float& grid(int x, int y)
{
    return accumulation_grid[y * accumulation_side + x];
}

// Cleared up front, so that a pass count below 1 leaves zeros, not the last
// generation's sums.
void clear_grid(const TexelTarget& target)
{
    for (int y = 0; y < target.height; ++y)
        std::fill_n(&grid(0, y), target.width, 0.0f);
}

// A radius that truncates to 0 would divide by zero; 1 texel is the least.
int pass_radius(double formula)
{
    return std::max(static_cast<int>(formula), 1);
}

// The shorter way from a to p on a circle of length n.
int wrapped_distance(int a, int p, int n)
{
    const int direct = std::abs(a - p);
    const int around = std::abs(std::min(a, p) + n - std::max(a, p));
    return direct < around ? direct : around;
}

} // namespace

void fill_smoke(const TexelTarget& target, TextureSlot& slot)
{
    clear_grid(target);
    const int w = target.width;
    const int h = target.height;
    float highest = -9999.0f;
    for (int i = 0; i < slot.blob_count; ++i) {
        slot.blob_radius = pass_radius(rand_scaled(w * 0.24) + w * 0.04);
        const int bx = static_cast<int>(rand_gauss(static_cast<float>(w * 0.17)) + w * 0.5);
        const int by = static_cast<int>(rand_gauss(static_cast<float>(h * 0.17)) + h * 0.5);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int q = (x - bx) * (x - bx) + (y - by) * (y - by);
                const float t = std::min(
                    std::sqrt(static_cast<float>(q)) / static_cast<float>(slot.blob_radius), 1.0f);
                float& entry = grid(x, y);
                entry += 1.0f - t;
                highest = std::max(highest, entry);
            }
        }
    }
    // Nothing laid down (no blobs, or none reaching a texel) stays black.
    const float scale = highest > 0.0f ? 255.0f / highest : 0.0f;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            target.put(x, y, scale * grid(x, y));
}

void fill_fog(const TexelTarget& target, TextureSlot& slot)
{
    clear_grid(target);
    const int w = target.width;
    const int h = target.height;
    for (int i = 0; i < 60; ++i) {
        slot.blob_radius = pass_radius(rand_scaled(w * 0.1) + w * 0.025);
        const int px = static_cast<int>(rand_scaled(256.0));
        const int py = static_cast<int>(rand_scaled(256.0));
        for (int y = 0; y < h; ++y) {
            const int dy = wrapped_distance(y, py, h);
            for (int x = 0; x < w; ++x) {
                const int dx = wrapped_distance(x, px, w);
                grid(x, y) += std::sqrt(static_cast<float>(dx * dx + dy * dy)) /
                              static_cast<float>(slot.blob_radius);
            }
        }
    }
    float lowest = 1000000.0f;
    float highest = -1000000.0f;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            highest = std::max(highest, grid(x, y));
            lowest = std::min(lowest, grid(x, y));
        }
    }
    const float range = std::trunc(highest - lowest);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // A flat field (range 0) is all at the minimum: all brightest.
            const float f = range > 0.0f ? 1.0f - (grid(x, y) - lowest) / range : 1.0f;
            target.put(x, y, 255.0f * std::clamp(f, 0.0f, 1.0f));
        }
    }
}
