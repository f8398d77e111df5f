#pragma once
#include <cmath>

// Where the star field and the particles put their points: a cube shell, a
// dome or a ball shell around the centre, half the outer edge `half`, with an
// empty core of `rin`. Each coordinate is (draw() - 1) * half, draw() being a
// uniform draw from [0, 2) of the caller's precision.
enum ShellShape { cube_shell = 1, dome = 2 };

// Parameters that admit no point (a core as large as the shell) would keep a
// placement drawing forever; after this many tries it gives up.
constexpr int max_placement_attempts = 1000;

template <typename Real, typename Draw>
bool place_in_shell(int shape, float half, float rin, Draw draw, Real& x, Real& y, Real& z)
{
    const auto coordinate = [&] { return (draw() - Real(1)) * half; };
    const auto redraw = [&] {
        x = coordinate();
        y = coordinate();
        z = coordinate();
    };
    if (shape == cube_shell) {
        x = y = z = 0;
        for (int attempt = 0; std::abs(x) < rin && std::abs(y) < rin && std::abs(z) < rin;
             ++attempt) {
            if (attempt == max_placement_attempts)
                return false;
            redraw();
        }
        return true;
    }
    // The outer test compares the squared distance with half itself.
    for (int attempt = 0; attempt < max_placement_attempts; ++attempt) {
        redraw();
        const Real d2 = x * x + y * y + z * z;
        if (d2 >= rin * rin && d2 <= half && (shape != dome || y >= 0))
            return true;
    }
    return false;
}
