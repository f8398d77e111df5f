#pragma once
#include "textures/texel_target.h"

class TextureSlot;

// The side of the accumulation grid: SMOKE and FOG refuse longer sides.
constexpr int accumulation_side = 256;

// Kinds whose texels are each computed on their own.
void fill_fleck(const TexelTarget& target);
void fill_sphere(const TexelTarget& target);
void fill_not_sphere(const TexelTarget& target);
void fill_gradient(const TexelTarget& target);
void fill_ring(const TexelTarget& target);
void fill_star(const TexelTarget& target);
void fill_sand(const TexelTarget& target);
void fill_black(const TexelTarget& target);
void fill_check(const TexelTarget& target);
void fill_grille(const TexelTarget& target);

// Kinds that accumulate passes in the grid, then scale; they leave the last
// pass's radius in the slot.
void fill_smoke(const TexelTarget& target, TextureSlot& slot);
void fill_fog(const TexelTarget& target, TextureSlot& slot);
