#include <gtest/gtest.h>

#include <cstdint>

#include "common/random.h"
#include "content/drifter.h"
#include "support/generator_replay.h"

TEST(Drifter, ALowDrawStartsAFallingRampScaledByTheInterval)
{
    Drifter d;
    seed_random(state_before_draw(3)); // 3 / 32768 is still below 0.0001
    d.step(0.01);
    EXPECT_DOUBLE_EQ(d.level_velocity, -0.001);
    EXPECT_DOUBLE_EQ(d.level, 0.99999);

    Drifter e;
    seed_random(state_before_draw(4));
    e.step(0.01);
    EXPECT_EQ(e.level_velocity, 0.0);
    EXPECT_EQ(e.level, 1.0);
}

TEST(Drifter, RampsEndAtTheirRestValues)
{
    Drifter falling;
    falling.level = 0.0501;
    falling.level_velocity = -0.02;
    falling.step(0.01); // mid-ramp: no draw
    EXPECT_EQ(falling.level, 0.0);
    EXPECT_EQ(falling.level_velocity, 0.0);

    Drifter rising;
    rising.level = 0.99;
    rising.level_velocity = 1.0;
    rising.step(0.01); // lands exactly on 1.0 and keeps going
    EXPECT_EQ(rising.level, 1.0);
    EXPECT_EQ(rising.level_velocity, 1.0);
    seed_random(state_before_draw(1000));
    rising.step(0.01); // resting value again, so it draws; no ramp, ends at 1
    EXPECT_EQ(rising.level, 1.0);
    EXPECT_EQ(rising.level_velocity, 0.0);
}

TEST(Drifter, AtLevelZeroTheOutputStandsStill)
{
    Drifter d;
    d.level = 0.0;
    d.speed = 50.0;
    seed_random(state_before_draw(1000));
    const double before = d.value();
    for (int i = 0; i < 10; ++i)
        d.step(0.05);
    EXPECT_EQ(d.value(), before);

    // A low draw resumes it: a rising ramp, whose first step already turns the phase.
    seed_random(state_before_draw(2));
    d.step(0.05);
    EXPECT_DOUBLE_EQ(d.level_velocity, 0.005);
    EXPECT_DOUBLE_EQ(d.level, 0.05 * 0.005);
    EXPECT_DOUBLE_EQ(d.phase, 0.05 * 0.005 * 0.05 * 50.0);
}

TEST(Drifter, TheSharedMultiplierScalesThePhaseRate)
{
    double multiplier = 1.8;
    Drifter scaled;
    scaled.speed = 0.1;
    scaled.speed_multiplier = &multiplier;
    Drifter plain;
    plain.speed = 0.1;
    seed_random(state_before_draw(1000));
    scaled.step(0.5);
    seed_random(state_before_draw(1000));
    plain.step(0.5);
    EXPECT_DOUBLE_EQ(scaled.phase, 1.8 * 0.5 * 0.1);
    EXPECT_DOUBLE_EQ(plain.phase, 0.5 * 0.1);
}

TEST(Drifter, HoursOfRunningStayWithinRange)
{
    Drifter d;
    d.speed = 0.3;
    d.range = 0.25;
    d.offset = 0.0;
    seed_random(99);
    for (int i = 0; i < 3 * 3600 * 20; ++i) { // three hours at 20 frames a second
        d.step(0.05);
        ASSERT_GE(d.value(), 0.0);
        ASSERT_LE(d.value(), 0.25);
    }
    EXPECT_GT(d.phase, 100.0);
}
