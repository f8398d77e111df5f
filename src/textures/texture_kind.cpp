#include "textures/texture_kind.h"

#include "common/same_word.h"

const char* texture_kind_name(int kind)
{
    static const char* const names[] = {"SPHERE", "NOTSPHERE", "GRADIENT", "SMOKE", "FOG",
                                        "",       "STAR",      "SAND",     "",      "",
                                        "CHECK",  "GRILLE",    "X50",      "Y50",   "FLECK"};
    if (kind < 0 || kind >= static_cast<int>(sizeof names / sizeof names[0]))
        return "";
    return names[kind];
}

const char* const texture_kind_labels[FLECK + 1] = {
    "SPHERE", "NOTSPHERE", "GRADIENT", "SMOKE",  "FOG", "RING", "STAR", "SAND",
    "BLACK",  "KIND9",     "CHECK",    "GRILLE", "X50", "Y50",  "FLECK"};

int find_texture_kind(const char* label)
{
    for (int kind = 0; label && kind <= FLECK; ++kind)
        if (same_word(label, texture_kind_labels[kind]))
            return kind;
    return -1;
}
