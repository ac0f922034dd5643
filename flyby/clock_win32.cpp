// flyby/clock_win32.cpp
// The platform clock on Windows: the multimedia timer's millisecond counter.
#include "flyby.h"

#include <windows.h>

uint32_t Clock_PlatformMs(void) {
    return timeGetTime();
}
