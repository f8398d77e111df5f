// Prints the host layer's answer to SPI_GETCLIENTAREAANIMATION, as a saver
// left to the desktop's motion asks it at start: "on" or "off".
#include <cstdio>

#include "platform/win32_api.h"

int main()
{
    BOOL animations = 2;
    if (!SystemParametersInfoA(SPI_GETCLIENTAREAANIMATION, 0, &animations, 0))
        return 1;
    std::puts(animations ? "on" : "off");
}
