#pragma once

// Gives view 1's camera its pose from the six camera drifters (only while
// view 1 is current), then applies the current view's camera.
void update_scene_camera();
