#pragma once

// Full-window textured layers, drawn in view 0's pixel-exact projection.
void draw_screen_quad(float x, float y, float width, float height);

// Alpha-blended over the background, under the scene.
void draw_backdrop_overlay();

// Multiplies the finished frame by the texture: dark texels darken it.
void draw_modulate_overlay();
