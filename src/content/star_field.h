#pragma once

class View;

// A layer of coloured points around the eye, compiled once into a display
// list and drawn as several rotated copies with growing point sizes.
class StarField
{
public:
    virtual ~StarField();

    void build();
    void draw(const View& view) const;
    // Deletes the display list, if there is one.
    void release();

    unsigned list = 0;
    int count = 10;
    int shape = 1; // 1 cube shell, 2 dome, other ball shell
    int blend = 1;
    int depth_test = 0;
    int depth_write = 0;
    int layers = 1;
    int follow_camera = 0;
    int fog = 0;
    double outer_size = 2.0;
    double inner_size = 0.0;
    double color_floor = 0.3;
    double white_floor = 0.7;

private:
    // A layer count below 1 would divide by zero; one copy is the least.
    int copies() const { return layers < 1 ? 1 : layers; }
};

extern StarField scene_stars;
