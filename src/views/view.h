#pragma once
#include "views/camera.h"

struct Rect {
    float x0;
    float y0;
    float x1;
    float y1;
};

// A region of the window with its own camera. rect is relative to the screen
// area; layout turns it into window pixels, origin at the bottom left.
class View
{
public:
    View();
    virtual ~View() = default;

    void set_rect(double x0, double y0, double x1, double y1);
    void set_screen_rect(double x0, double y0, double x1, double y1);
    void layout();
    void apply_viewport() const;
    void apply_ortho() const;

    Camera camera;
    int between_bands = 0;
    Rect rect = {0.0f, 0.0f, 1.0f, 1.0f};
    Rect pixel_rect = {};
    float pixel_width = 0.0f;
    float pixel_height = 0.0f;
    Rect screen_rect = {0.0f, 0.0f, 100.0f, 100.0f};
    float screen_width = 0.0f;
    float screen_height = 0.0f;
};
