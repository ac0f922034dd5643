// flyby/clock.cpp
// The replaceable millisecond clock: tests and the replay tool set their
// own source so that hours of flight run in milliseconds.
#include "flyby.h"

#include <atomic>

static std::atomic<ClockSource> g_clockSource{nullptr};

uint32_t Clock_NowMs(void) {
    ClockSource source = g_clockSource.load(std::memory_order_relaxed);
    return source ? source() : Clock_PlatformMs();
}

void Clock_SetSource(ClockSource source) {
    g_clockSource.store(source, std::memory_order_relaxed);
}
