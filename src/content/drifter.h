#pragma once

// A slow cosine oscillator whose speed pauses and resumes at random moments:
// the activity level rests at 0 or 1 and now and then ramps to the other.
class Drifter
{
public:
    Drifter();
    virtual ~Drifter() = default;

    void step(double delta);
    double value() const;

    int serial;
    double phase = 0.0; // radians, never wrapped
    double speed_factor = 1.0;
    double level = 1.0;
    double level_velocity = 0.0;
    double speed = 1.0;                       // radians per second at full level
    const double* speed_multiplier = nullptr; // shared by a group; null counts as 1
    double range = 0.5;
    double offset = 0.5;
};

extern Drifter drift_pos_x;
extern Drifter drift_pos_y;
extern Drifter drift_pos_z;
extern Drifter drift_rot_x;
extern Drifter drift_rot_y;
extern Drifter drift_rot_z;
extern Drifter drift_spare;
extern Drifter drift_band;
