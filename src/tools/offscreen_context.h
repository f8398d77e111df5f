#pragma once
#include <cstdint>
#include <vector>

// A GL context with a colour and depth buffer of the given size and no
// window, on EGL's surfaceless platform, asked for the saver's pixel format
// as a window would be.
class OffscreenContext
{
public:
    OffscreenContext(int width, int height);
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;
    virtual ~OffscreenContext();

    bool ready() const { return context_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }

    // The colour buffer as RGB bytes, bottom row first (GL's order).
    std::vector<std::uint8_t> read_rgb() const;

private:
    int width_;
    int height_;
    void* display_ = nullptr;
    void* surface_ = nullptr;
    void* context_ = nullptr;
};
