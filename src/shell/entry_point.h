#pragma once
#include "platform/win32.h"

// A routine of a loaded module, as the type the caller knows it by; null when
// the module does not have it. Passing through the generic function type
// keeps the compiler from treating the cast as a mistake.
template <typename Routine> Routine entry_point(HMODULE module, LPCSTR name)
{
    return reinterpret_cast<Routine>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
