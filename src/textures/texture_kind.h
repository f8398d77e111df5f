#pragma once

enum TextureKind {
    SPHERE = 0,
    NOTSPHERE = 1,
    GRADIENT = 2,
    SMOKE = 3,
    FOG = 4,
    RING = 5,
    STAR = 6,
    SAND = 7,
    BLACK = 8,
    KIND9 = 9,
    CHECK = 10,
    GRILLE = 11,
    X50 = 12,
    Y50 = 13,
    FLECK = 14,
};

// The name a generation records in the registry; "" for kinds without one.
const char* texture_kind_name(int kind);

// Every kind's label in kind order, as people name kinds on command lines.
extern const char* const texture_kind_labels[FLECK + 1];
// The kind with that label, in any case, or -1.
int find_texture_kind(const char* label);
