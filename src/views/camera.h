#pragma once
#include "views/body.h"

class ViewManager;

class Camera
{
public:
    virtual ~Camera() = default;

    // Multiplies the camera transform onto an identity modelview and keeps
    // the result, whose axes turn sprites towards the viewer.
    void apply();
    void capture_axes();

    // Perspective for the manager's current view, which need not be the view
    // that holds this camera; leaves an identity modelview selected.
    void apply_projection(const ViewManager& manager) const;

    Body body;
    double fov = 90.0; // vertical, degrees
    float near_plane = 0.1f;
    float far_plane = 100.0f;
    float eye_distance = 1.0f; // look-at eye on +z
    float right[3] = {};
    float up[3] = {};
    float modelview[16] = {};
};
