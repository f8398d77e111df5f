#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "content/drifter.h"
#include "content/light.h"
#include "scene/frame_driver.h"
#include "scene/scene_setup.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"
#include "views/body.h"
#include "content/sphere_mesh.h"
#include "views/view_manager.h"

namespace
{

constexpr std::int64_t minute = 60 * 1000;
constexpr std::int64_t hour = 60 * minute;
constexpr std::int64_t day = 24 * hour;

// A frame draws the sphere, 17 strips of 42, from arrays; its texture
// coordinates scroll.
constexpr std::size_t sphere_coords = 17 * 42;

// The intervals of one burst of frames, in milliseconds: the timer's own
// pace, two ticks with no time between them, fast and slow machines, and a
// suspend of several minutes.
constexpr std::int64_t burst[] = {5, 5, 0, 1, 1, 100, 5, 7 * minute, 5, 5};
constexpr std::int64_t slowest_frame = 100;

// Where the bursts start: every six hours of a month, and closer together
// over the first hours.
std::vector<std::int64_t> burst_starts()
{
    std::vector<std::int64_t> starts = {0, 2 * day, 30 * day};
    for (double ms = hour; ms < 30.0 * day; ms *= 1.25)
        starts.push_back(static_cast<std::int64_t>(ms));
    for (std::int64_t ms = 6 * hour; ms < 30 * day; ms += 6 * hour)
        starts.push_back(ms);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    return starts;
}

bool finite(double x)
{
    return std::isfinite(x);
}

class LongRun : public GlTest
{
protected:
    // One frame at the given clock reading; the texture coordinates of the
    // sphere, from the array GL was given.
    std::vector<GlCall> frame_at(std::int64_t ms)
    {
        now_ms = ms;
        set_test_clock(ms);
        gl.clear();
        draw_frame();
        EXPECT_EQ(gl.named("glDrawElements").size(), 1u);
        const float* uv = scene_sphere.texture_coordinates;
        std::vector<GlCall> coords;
        for (std::size_t i = 0; i < sphere_coords; ++i)
            coords.push_back(gl_call("glTexCoord2f", {uv[2 * i], uv[2 * i + 1]}));
        return coords;
    }

    void expect_scene_in_bounds() const
    {
        for (const Drifter* d : {&drift_pos_x, &drift_pos_y, &drift_pos_z, &drift_rot_x,
                                 &drift_rot_y, &drift_rot_z, &drift_spare, &drift_band}) {
            const double value = d->value();
            EXPECT_TRUE(finite(value)) << "drifter " << d->serial;
            EXPECT_GE(value, d->offset) << "drifter " << d->serial;
            EXPECT_LE(value, d->offset + d->range) << "drifter " << d->serial;
        }
        const Body& pose = view_manager.views[1].camera.body;
        for (const Vec3& v : {pose.position, pose.angles})
            EXPECT_TRUE(finite(v.x) && finite(v.y) && finite(v.z));
        const Vec3& light = scene_light.position;
        ASSERT_TRUE(finite(light.x) && finite(light.y) && finite(light.z));
        EXPECT_NEAR(std::hypot(light.x, light.z), 2.0, 1e-5);
        const float band = view_manager.band_fraction;
        EXPECT_TRUE(finite(band));
        EXPECT_GE(band, 0.0f);
        EXPECT_LE(band, 0.25f);
    }

    // Every vertex's coordinates must move by the scroll over the interval,
    // up to whole repeats of the texture, within 1 %.
    void expect_texture_step(const std::vector<GlCall>& before, const std::vector<GlCall>& after,
                             std::int64_t interval_ms) const
    {
        const double scroll = 0.15f;
        const double seconds = static_cast<double>(interval_ms) * 0.001;
        const double true_step[2] = {scroll * seconds, seconds * 1.11 * scroll};
        for (int axis = 0; axis < 2; ++axis) {
            double least = true_step[axis];
            double most = true_step[axis];
            for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i) {
                const double moved = after[i].args[axis] - before[i].args[axis];
                const double step = true_step[axis] + std::remainder(moved - true_step[axis], 1.0);
                least = std::min(least, step);
                most = std::max(most, step);
            }
            const double tolerance = 0.01 * true_step[axis];
            EXPECT_TRUE(least >= true_step[axis] - tolerance && most <= true_step[axis] + tolerance)
                << (axis ? "v" : "u") << " after " << interval_ms << " ms: true step "
                << true_step[axis] << ", vertices moved " << least << " to " << most;
        }
    }

    GlRecording gl;
    std::int64_t now_ms = 0;
};

} // namespace

TEST_F(LongRun, AMonthOfFramesStaysInBoundsAndTheTextureKeepsItsPace)
{
    fix_scene_seed(20261208);
    set_test_clock(0);
    start_scene(width, height);
    for (const std::int64_t start : burst_starts()) {
        if (start < now_ms)
            continue;
        SCOPED_TRACE(testing::Message() << "burst at " << start << " ms");
        std::vector<GlCall> last = frame_at(start);
        expect_scene_in_bounds();
        for (const std::int64_t interval : burst) {
            std::vector<GlCall> coords = frame_at(now_ms + interval);
            SCOPED_TRACE(testing::Message() << "frame at " << now_ms << " ms");
            expect_scene_in_bounds();
            if (interval <= slowest_frame)
                expect_texture_step(last, coords, interval);
            last = std::move(coords);
        }
        if (HasFailure())
            return; // one burst says enough
    }
    EXPECT_GT(now_ms, 30 * day);
}
