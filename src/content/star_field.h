#pragma once

// A layer of coloured points around the eye, compiled into one display list.
// It is switched off in the running saver; building and drawing come with
// the switchable layers.
class StarField
{
public:
    virtual ~StarField();

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
};

extern StarField scene_stars;
