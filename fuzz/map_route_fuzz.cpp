// fuzz/map_route_fuzz.cpp
// libFuzzer target: any bytes through skorvan-map's route CSV reader. A
// read fails with a message or gives at most the route's capacity of
// points, each on the earth with an ended identifier.
#include "map_tool.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    MapRoute route = {};
    std::string error;
    if (!MapInput_ParseRoute(text, "route", &route, &error)) {
        if (error.empty())
            __builtin_trap();
        return 0;
    }
    if (route.count < 0 || route.count > MAP_ROUTE_CAPACITY)
        __builtin_trap();
    for (int32_t i = 0; i < route.count; ++i) {
        const FacilityRecord& f = route.points[i].facility;
        if (!(std::fabs(f.position.latitude) <= 90 * DEG_TO_RAD) ||
            !(std::fabs(f.position.longitude) <= 180 * DEG_TO_RAD) ||
            f.ident[sizeof f.ident - 1] != '\0')
            __builtin_trap();
    }
    return 0;
}
