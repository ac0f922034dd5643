// fuzz/map_facilities_fuzz.cpp
// libFuzzer target: any bytes through skorvan-map's facility file reader,
// which tells skorvan-facilities' JSON, GeoJSON and CSV apart and reads
// each. A read either fails with a message or gives only records the map
// can draw: known kinds, on the earth, at plausible altitudes.
#include "map_tool.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    FacilityDatabase db = {};
    std::string error;
    const bool read = MapFacilities_ParseText(text, &db, &error);
    if (!read && error.empty())
        __builtin_trap(); // a refusal always says why
    for (const ListNode* n = db.facilities ? db.facilities->head : nullptr; n; n = n->next) {
        const FacilityRecord* r = static_cast<const FacilityRecord*>(n->item);
        const bool kind =
            r->kind == FACILITY_VOR || r->kind == FACILITY_NDB || r->kind == FACILITY_AIRPORT;
        if (!kind || !(std::fabs(r->position.latitude) <= 90 * DEG_TO_RAD) ||
            !(std::fabs(r->position.longitude) <= 180 * DEG_TO_RAD) ||
            !(r->position.altitude >= MAP_ALTITUDE_LOW_FT &&
              r->position.altitude <= MAP_ALTITUDE_HIGH_FT) ||
            !std::isfinite(r->frequency) || r->ident[sizeof r->ident - 1] != '\0')
            __builtin_trap();
    }
    Facility_FreeDatabase(&db);
    return 0;
}
