// Built where the Wayland development files were missing.
#include <cstdio>

#include "wayland/wayland_output_size.h"
#include "wayland/wayland_saver.h"

int run_wayland(const std::string&, const SceneSettings&, unsigned, WaylandLayer)
{
    std::fputs("orbdrift: this build has no Wayland support\n", stderr);
    return 1;
}

bool wayland_output_size(int&, int&)
{
    return false;
}
