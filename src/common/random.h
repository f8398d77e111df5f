#pragma once
#include <cstdint>

// The one random generator of the whole scene. Every consumer draws from it,
// so the order of draws is part of what a given seed produces.

void seed_random(std::uint32_t seed);
std::uint32_t random_state();

// The next 15-bit draw, 0 to 32767.
int random_draw();

// A draw scaled to [0, x) in steps of x / 32768.
double rand_scaled(double x);
// The same in single precision, as the star field draws its points.
float rand_scaled(float x);

// Roughly normal, mean 0 and standard deviation very close to x, from the sum
// of six uniform draws; bounded by 3 * 1.414 * x on either side.
float rand_gauss(float x);
