// flyby/clock_posix.cpp
// The platform clock elsewhere: a monotonic clock in milliseconds, wrapping
// at 2^32 like the Windows counter.
#include "flyby.h"

#include <time.h>

uint32_t Clock_PlatformMs(void) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}
