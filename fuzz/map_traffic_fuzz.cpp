// fuzz/map_traffic_fuzz.cpp
// libFuzzer target: any bytes through skorvan-map's traffic CSV reader. A
// read fails with a message or gives only targets on the earth with finite
// relative altitudes.
#include "map_tool.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<TrafficTarget> traffic;
    std::string error;
    if (!MapInput_ParseTraffic(text, "traffic", &traffic, &error)) {
        if (error.empty())
            __builtin_trap();
        return 0;
    }
    for (const TrafficTarget& t : traffic)
        if (!(std::fabs(t.latitude) <= 90 * DEG_TO_RAD) ||
            !(std::fabs(t.longitude) <= 180 * DEG_TO_RAD) || !std::isfinite(t.relativeAltitude))
            __builtin_trap();
    return 0;
}
