#pragma once
#include <cstdint>

// A value becomes a byte by truncation toward zero, keeping the low 8 bits.
// A value no integer can hold (a division by zero somewhere) becomes 0
// rather than undefined behaviour.
inline unsigned char texel_byte(float value)
{
    if (!(value > -1e18f && value < 1e18f))
        return 0;
    return static_cast<unsigned char>(static_cast<std::int64_t>(value) & 0xFF);
}

// Where a texel rule writes: rows from 0 up, no padding, laid out by format
// (RGBA: 4 bytes; luminance-alpha: the alpha value twice; others: nothing).
struct TexelTarget {
    unsigned char* bytes;
    int width;
    int height;
    unsigned format;

    void put(int x, int y, float r, float g, float b, float a) const;
    void put(int x, int y, float value) const { put(x, y, value, value, value, value); }
};
