// Every scene object lives here, in one translation unit, because C++ orders
// static construction only within a file and the order below is the one the
// scene is built in. None of them is ever allocated on the heap.
#include "common/frame_clock.h"
#include "content/drifter.h"
#include "content/fog.h"
#include "content/light.h"
#include "content/light_material.h"
#include "content/particle_system.h"
#include "content/scene_switches.h"
#include "content/sphere_mesh.h"
#include "content/star_field.h"
#include "scene/scene_settings.h"
#include "textures/texture_slot.h"
#include "views/view_manager.h"

Fog scene_fog;
Light scene_light;
ViewManager view_manager;
StarField scene_stars;
ParticleSystem scene_particles;
FrameClock frame_clock;
Drifter drift_pos_x;
Drifter drift_pos_y;
Drifter drift_pos_z;
Drifter drift_rot_x;
Drifter drift_rot_y;
Drifter drift_rot_z;
Drifter drift_spare;
Drifter drift_band;
LightMaterial scene_material;
TextureSlot texture_slots[texture_slot_count];
SceneSwitches scene_switches;
SceneSettings scene_settings;
SphereMesh scene_sphere;
