#include <gtest/gtest.h>

#include <cmath>

#include "common/random.h"

TEST(Random, FirstDrawsFromTheStartStateAreTheKnownSequence)
{
    EXPECT_EQ(random_state(), 1u);
    EXPECT_EQ(random_draw(), 41);
    EXPECT_EQ(random_draw(), 18467);
    EXPECT_EQ(random_draw(), 6334);
    EXPECT_EQ(random_draw(), 26500);
}

TEST(Random, ScaledDrawsStepInUnitsOfXOver32768)
{
    seed_random(1);
    EXPECT_DOUBLE_EQ(rand_scaled(2.0), 41.0 / 32768.0 * 2.0);
    // A seed is the state itself: seeding again repeats the sequence.
    seed_random(1);
    EXPECT_EQ(random_draw(), 41);
}

TEST(Random, GaussUsesSixDrawsAndHasTheRequestedSpread)
{
    seed_random(12345);
    const float first = rand_gauss(1.0f);
    seed_random(12345);
    double sum = 0.0;
    for (int i = 0; i < 6; ++i)
        sum += rand_scaled(1.0);
    EXPECT_FLOAT_EQ(first, static_cast<float>((sum - 3.0) * 1.414));

    const int n = 20000;
    const float x = 2.0f;
    double total = 0.0;
    double squares = 0.0;
    for (int i = 0; i < n; ++i) {
        const float g = rand_gauss(x);
        ASSERT_GE(g, -3.0f * 1.414f * x);
        ASSERT_LT(g, 3.0f * 1.414f * x);
        total += g;
        squares += static_cast<double>(g) * g;
    }
    const double mean = total / n;
    EXPECT_NEAR(mean, 0.0, 0.05);
    EXPECT_NEAR(std::sqrt(squares / n - mean * mean), x, 0.05 * x);
}
