#include "textures/texture_kind.h"

const char* texture_kind_name(int kind)
{
    static const char* const names[] = {"SPHERE", "NOTSPHERE", "GRADIENT", "SMOKE", "FOG",
                                        "",       "STAR",      "SAND",     "",      "",
                                        "CHECK",  "GRILLE",    "X50",      "Y50",   "FLECK"};
    if (kind < 0 || kind >= static_cast<int>(sizeof names / sizeof names[0]))
        return "";
    return names[kind];
}
