#pragma once

// The 3D content of the current scene view: camera, light and sphere.
void draw_scene_pass();
void draw_sphere_step();

// The render state of the sphere, chosen by the scene switches. Depth writes
// stay as apply left them; the next frame turns them off.
void apply_sphere_state();
void clear_sphere_state();
