#include "tools/flash_rules.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{

// The flash thresholds' numbers: a general transition swings the relative
// luminance by 0.1 with its darker end below 0.8; a red one swings
// (R - G - B) x 320 by more than 20 to or from a saturated red; more than a
// quarter of a 10 degree field flashing at once counts, and that field is
// 341 x 256 pixels of a 1024 x 768 screen.
constexpr float luminance_swing = 0.1f;
constexpr float darker_below = 0.8f;
constexpr float redness_swing = 20.0f;
constexpr float saturated_red = 0.8f;
constexpr int flashes_allowed = 3;
constexpr double field_width = 341.0 / 1024.0;
constexpr double field_height = 256.0 / 768.0;
constexpr double fine_pattern = field_width / 100; // a tenth of a degree
// Fields this far apart are looked at: an eighth of a field's side.
constexpr int field_steps = 8;

enum { general_up, general_down, red_up, red_down };

std::array<float, 256> linear_table()
{
    std::array<float, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
        const double c = byte / 255.0;
        table[byte] =
            static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return table;
}

const std::array<float, 256> linear = linear_table();

bool is_transition(bool red_rule, float from, bool from_red, float to, bool to_red)
{
    if (red_rule)
        return std::fabs(to - from) > redness_swing && (from_red || to_red);
    return std::fabs(to - from) >= luminance_swing && std::min(from, to) < darker_below;
}

// +1 when the pixel completes a rise, -1 a fall, 0 neither. Before its first
// transition a pixel may go either way; after one, only the other way.
int swing_to(Swing& swing, float value, bool red, bool red_rule)
{
    if (swing.last >= 0 && value > swing.peak) {
        swing.peak = value;
        swing.peak_red = red;
    }
    if (swing.last <= 0 && value < swing.valley) {
        swing.valley = value;
        swing.valley_red = red;
    }
    if (swing.last >= 0 && value < swing.peak &&
        is_transition(red_rule, swing.peak, swing.peak_red, value, red)) {
        swing.last = -1;
        swing.valley = value;
        swing.valley_red = red;
        return -1;
    }
    if (swing.last <= 0 && value > swing.valley &&
        is_transition(red_rule, swing.valley, swing.valley_red, value, red)) {
        swing.last = 1;
        swing.peak = value;
        swing.peak_red = red;
        return 1;
    }
    return 0;
}

// Fields at every eighth of a field's side and flush with the far edges, and
// the whole frame.
std::vector<AreaRecord> areas_of(int width, int height)
{
    const int field_w = std::clamp(static_cast<int>(std::lround(width * field_width)), 1, width);
    const int field_h = std::clamp(static_cast<int>(std::lround(height * field_height)), 1, height);
    const int step_x = std::max(1, field_w / field_steps);
    const int step_y = std::max(1, field_h / field_steps);
    std::vector<AreaRecord> areas;
    for (int top = 0;; top = std::min(top + step_y, height - field_h)) {
        for (int left = 0;; left = std::min(left + step_x, width - field_w)) {
            areas.push_back({{left, top, field_w, field_h}, {}, 0});
            if (left == width - field_w)
                break;
        }
        if (top == height - field_h)
            break;
    }
    if (field_w < width || field_h < height)
        areas.push_back({{0, 0, width, height}, {}, 0});
    return areas;
}

} // namespace

bool over_flash_limit(const FlashReport& report)
{
    return report.general.flashes > flashes_allowed || report.red.flashes > flashes_allowed;
}

FlashCheck::FlashCheck(int frame_width, int frame_height, double fps)
    : row_pixels(frame_width),
      // Never more than a tenth of a degree: no pattern that counts is
      // averaged away.
      cell(std::clamp(static_cast<int>(frame_width * fine_pattern), 1,
                      std::min(frame_width, frame_height))),
      width(frame_width / cell), height(frame_height / cell), frames_a_second(fps),
      cell_light(static_cast<std::size_t>(width) * height * 3),
      general_swings(static_cast<std::size_t>(width) * height), red_swings(general_swings.size()),
      general_areas(areas_of(width, height)), red_areas(general_areas)
{
    for (auto& sum : sums)
        sum.assign(static_cast<std::size_t>(width + 1) * (height + 1), 0);
}

// Light adds up linearly: a square's is its pixels' mean. Pixels beyond the
// last whole square are left out.
void FlashCheck::average_cells(const std::uint8_t* rgb)
{
    std::fill(cell_light.begin(), cell_light.end(), 0.0f);
    for (int y = 0; y < height * cell; ++y)
        for (int x = 0; x < width * cell; ++x) {
            const std::uint8_t* pixel = rgb + (static_cast<std::size_t>(y) * row_pixels + x) * 3;
            float* light = &cell_light[(static_cast<std::size_t>(y / cell) * width + x / cell) * 3];
            for (int c = 0; c < 3; ++c)
                light[c] += linear[pixel[c]];
        }
    const float pixels = static_cast<float>(cell * cell);
    for (float& light : cell_light)
        light /= pixels;
}

void FlashCheck::add_frame(const std::uint8_t* rgb)
{
    ++frame;
    average_cells(rgb);
    const int row_length = width + 1;
    for (int y = 0; y < height; ++y) {
        std::int32_t row[4] = {0, 0, 0, 0};
        for (int x = 0; x < width; ++x) {
            const std::size_t pixel = static_cast<std::size_t>(y) * width + x;
            const float r = cell_light[pixel * 3];
            const float g = cell_light[pixel * 3 + 1];
            const float b = cell_light[pixel * 3 + 2];
            const float luminance = 0.2126f * r + 0.7152f * g + 0.0722f * b;
            const float redness = std::max(0.0f, r - g - b) * 320.0f;
            const bool red = r > 0 && r >= saturated_red * (r + g + b);
            if (frame == 0) { // where every swing starts
                general_swings[pixel] = {luminance, luminance, false, false, 0};
                red_swings[pixel] = {redness, redness, red, red, 0};
                continue;
            }
            const int general = swing_to(general_swings[pixel], luminance, false, false);
            const int red_way = swing_to(red_swings[pixel], redness, red, true);
            row[general_up] += general > 0;
            row[general_down] += general < 0;
            row[red_up] += red_way > 0;
            row[red_down] += red_way < 0;
            const std::size_t at = static_cast<std::size_t>(y + 1) * row_length + x + 1;
            for (int kind = 0; kind < 4; ++kind)
                sums[kind][at] = sums[kind][at - row_length] + row[kind];
        }
    }
    if (frame == 0)
        return;
    record(general_areas, sums[general_up], sums[general_down], worst.general);
    record(red_areas, sums[red_up], sums[red_down], worst.red);
}

std::int32_t FlashCheck::count(const std::vector<std::int32_t>& sum, const FlashArea& area) const
{
    const int row_length = width + 1;
    const auto at = [&](int x, int y) { return sum[static_cast<std::size_t>(y) * row_length + x]; };
    const int right = area.left + area.width;
    const int bottom = area.top + area.height;
    return at(right, bottom) - at(area.left, bottom) - at(right, area.top) +
           at(area.left, area.top);
}

// A transition of an area is one of more than a quarter of its squares at
// once; two of the same way in a row are one swing that went on, counted at
// its later end. A flash is two transitions, so a second holds half as many
// flashes as transitions.
void FlashCheck::record(std::vector<AreaRecord>& records, const std::vector<std::int32_t>& up,
                        const std::vector<std::int32_t>& down, WorstSecond& kind_worst)
{
    for (AreaRecord& record : records) {
        const std::int64_t quarter =
            static_cast<std::int64_t>(record.area.width) * record.area.height / 4;
        const bool rose = count(up, record.area) > quarter;
        const bool fell = count(down, record.area) > quarter;
        if (rose || fell) {
            // Both at once are parts of the area changing places: one
            // transition, the other way from the last.
            const std::int8_t way = rose && fell ? (record.last == 1 ? -1 : 1) : rose ? 1 : -1;
            if (record.last == way)
                record.frames.back() = frame;
            else
                record.frames.push_back(frame);
            record.last = way;
        }
        while (!record.frames.empty() && frame - record.frames.front() >= frames_a_second)
            record.frames.pop_front();
        const double flashes = static_cast<double>(record.frames.size()) / 2;
        const FlashArea& area = record.area;
        if (flashes > kind_worst.flashes)
            kind_worst = {
                flashes,
                record.frames.front(),
                {area.left * cell, area.top * cell, area.width * cell, area.height * cell}};
    }
}
