#pragma once

// The picture the saver draws, written as plainly as we could write it: no
// scene objects, no switches, no views; the motion as closed-form cosines of
// the time. The benchmark draws it beside the saver's own frame to show what
// the saver's structure costs on top of the driver.

// The fixed GL state, the light, the material and the sphere's noise texture
// for a surface of the given size. Needs a current context.
void baseline_start(int width, int height);

// One frame at t seconds after the start.
void baseline_frame(double t);
