// fuzz/replay_time_fuzz.cpp
// libFuzzer target: any bytes as an ISO 8601 time. A time it takes is
// finite, and written back and read again it is the same to the
// millisecond.
#include "replay.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    double seconds;
    bool leap = false;
    if (!Time_ParseIso(text, &seconds, &leap))
        return 0;
    if (!std::isfinite(seconds))
        __builtin_trap();
    double again;
    if (!Time_ParseIso(Time_FormatIso(seconds), &again) || std::fabs(again - seconds) > 0.001)
        __builtin_trap();
    return 0;
}
