#pragma once

// The draw buffer the saver asks of every context it draws in, whatever
// window system makes it. Eight bits a colour: not every compositor shows
// ten-bit buffers. No alpha: the scene leaves alpha at whatever it drew,
// where a compositor would show the desktop through. A 16-bit depth buffer
// is all the scene's depth range needs, and every driver offers it.
struct PixelFormat {
    int red_bits;
    int green_bits;
    int blue_bits;
    int alpha_bits;
    int depth_bits;

    constexpr int colour_bits() const { return red_bits + green_bits + blue_bits; }
};

constexpr PixelFormat saver_pixel_format{8, 8, 8, 0, 16};
