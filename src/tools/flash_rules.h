#pragma once
// The general flash and red flash thresholds of WCAG 2.x (success criterion
// 2.3.1) applied to a sequence of frames as they are shown one after the
// other. The frame is taken as a 1024 x 768 screen seen from where a 10
// degree field is 341 x 256 of its pixels; a pattern finer than a tenth of
// a degree flashes for nobody (the thresholds' exception for white noise and
// fine checks), so the rules look at squares of that side, their light
// averaged.
#include <cstdint>
#include <deque>
#include <vector>

// A rectangle of the frame, in pixels from its top left.
struct FlashArea {
    int left;
    int top;
    int width;
    int height;
};

// The second with the most flashes of one kind: how many, from which frame,
// over which area.
struct WorstSecond {
    double flashes = 0;
    int first_frame = 0;
    FlashArea area{0, 0, 0, 0};
};

struct FlashReport {
    WorstSecond general;
    WorstSecond red;
};

// More than three flashes of either kind in any one second.
bool over_flash_limit(const FlashReport& report);

// The luminance, or for red the redness, a pixel has swung between: its
// highest and lowest since its last transition, and whether each was a
// saturated red.
struct Swing {
    float peak = 0;
    float valley = 0;
    bool peak_red = false;
    bool valley_red = false;
    std::int8_t last = 0; // the last transition's direction, 0 before the first
};

// The transitions of one kind that one area made, each the opposite of the
// one before, the oldest first.
struct AreaRecord {
    FlashArea area;
    std::deque<int> frames;
    std::int8_t last = 0;
};

class FlashCheck
{
public:
    // Frames of width x height pixels, fps of them a second.
    FlashCheck(int frame_width, int frame_height, double fps);
    virtual ~FlashCheck() = default;

    // The next frame, RGB bytes with the top row first, of the size given.
    void add_frame(const std::uint8_t* rgb);
    const FlashReport& report() const { return worst; }

private:
    int row_pixels;
    int cell;  // the side of the squares looked at, in pixels
    int width; // in squares
    int height;
    double frames_a_second;
    std::vector<float> cell_light; // linear R, G, B of each square, this frame
    int frame = -1;
    std::vector<Swing> general_swings;
    std::vector<Swing> red_swings;
    // Per kind (general, red) and direction (up, down): how many pixels made
    // that transition in this frame, summed from the top left.
    std::vector<std::int32_t> sums[4];
    std::vector<AreaRecord> general_areas;
    std::vector<AreaRecord> red_areas;
    FlashReport worst;

    void average_cells(const std::uint8_t* rgb);
    void record(std::vector<AreaRecord>& records, const std::vector<std::int32_t>& up,
                const std::vector<std::int32_t>& down, WorstSecond& kind_worst);
    std::int32_t count(const std::vector<std::int32_t>& sum, const FlashArea& area) const;
};
