#pragma once
#include "views/view.h"

constexpr int max_views = 10;

// The window's views and its letterbox background: two black bands, each
// band_fraction of the height, with the background colour between them.
class ViewManager
{
public:
    ViewManager();
    virtual ~ViewManager() = default;

    void set_screen_size(float w, float h);
    // A part of the window, from its bottom left, that the views and the
    // background fill as if it were the whole window.
    void set_screen_area(float left, float bottom, float w, float h);
    void set_background(float r, float g, float b, float a);
    void select_viewport(int i);
    void select_ortho(int i);
    void layout_views();
    // The bands and the fill between them, or one clear where the bands are
    // all that shows: when an opaque fill lies under a named view that will
    // paint all of its viewport anyway.
    void draw_background(const View* painted = nullptr) const;
    // Whether the background is that one clear, painted being whether a view
    // will paint all of its viewport.
    bool background_is_clear(bool painted) const;
    // That clear, of whatever the scissor leaves, depth included while
    // something tests it.
    void clear_background() const;

    float screen_width = 0.0f;
    float screen_height = 0.0f;
    float background_alpha = 1.0f;
    float screen_left = 0.0f;
    float screen_top = 0.0f;
    float screen_right = 0.0f;
    float screen_bottom = 0.0f;
    float background_color[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float width = 0.0f;
    float height = 0.0f;
    float band_fraction = 0.0f;
    int depth_clear_on = 1; // off while nothing drawn tests depth
    int view_count = 1;
    int current_view = 0; // selected last for a viewport or an ortho projection
    View views[max_views];
};

extern ViewManager view_manager;
