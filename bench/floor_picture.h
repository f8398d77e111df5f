#pragma once

// The least GL work that covers the saver's pixels the way the saver covers
// them: one colour clear, then one lit quad over exactly the sphere's
// viewport, with the sphere's texture, filtering, modulation and perspective
// hint. No picture can be drawn for less, so the saver's frame is measured
// against it.

// The baseline's fixed state, light and texture, with lighting and
// texturing left on. Needs a current context.
void floor_start(int width, int height);

// One frame at t seconds after the start.
void floor_frame(double t);
