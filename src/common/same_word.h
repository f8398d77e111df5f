#pragma once
#include <cctype>

// Words on command lines and in settings files are taken in any case.
inline bool same_word(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}
