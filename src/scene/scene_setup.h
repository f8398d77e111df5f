#pragma once

extern double scene_scale;         // multiplies the scene's sizes at setup
extern double scene_band_fraction; // feeds the view manager's band fraction
extern double position_drift_scale;
extern double rotation_drift_scale;
extern double unit_drift_scale;

// Fixes every scene parameter and switch, seeds the random generator and
// generates the sphere's texture. Runs once, with a GL context current.
void scene_setup();
// The fog, the light and the material as setup made them, into the current
// context: setup's, or another that the scene goes on in.
void apply_scene_lighting();
// The sphere's texture, of the settings' kind, into the current context.
void generate_sphere_texture();

// The optional layers with the values the scene gives them; scene setup runs
// these when their switches are on.
void setup_star_field();
void setup_particles();

// Advances the drifters by the frame interval and routes the band drifter.
void step_scene_drifters();
