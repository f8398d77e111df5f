#include "shell/saver_process.h"

HINSTANCE module_instance = nullptr;
BOOL legacy_platform = FALSE;

void announce_saver_running(BOOL on)
{
    if (!legacy_platform)
        return;
    BOOL previous = FALSE;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, static_cast<UINT>(on), &previous, 0);
}
