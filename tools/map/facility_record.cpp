// tools/map/facility_record.cpp
// One facility read from a file, checked before the map draws it: a bad
// record would land off the earth or under the wrong symbol.
#include "map_tool.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

static int32_t KindOf(const std::string& name) {
    return name == "VOR"       ? FACILITY_VOR
           : name == "NDB"     ? FACILITY_NDB
           : name == "AIRPORT" ? FACILITY_AIRPORT
                               : 0;
}

bool MapFacilities_Add(FacilityDatabase* db, const MapFacilityText& entry, const std::string& where,
                       std::string* error) {
    const int32_t kind = KindOf(entry.kind);
    std::string problem;
    if (kind == 0)
        problem = "kind '" + entry.kind + "' is not VOR, NDB or AIRPORT";
    else if (!std::isfinite(entry.latitude) || fabs(entry.latitude) > 90)
        problem = "latitude " + std::to_string(entry.latitude) + " is not within -90 to 90";
    else if (!std::isfinite(entry.longitude) || fabs(entry.longitude) > 180)
        problem = "longitude " + std::to_string(entry.longitude) + " is not within -180 to 180";
    else if (!std::isfinite(entry.altitude) || !std::isfinite(entry.frequency))
        problem = "altitude and frequency must be finite numbers";
    if (!problem.empty())
        return *error = where + ": " + problem, false;
    if (!db->facilities)
        db->facilities = List_Create(Facility_ReleaseRecord);
    FacilityRecord* r = static_cast<FacilityRecord*>(calloc(1, sizeof(FacilityRecord)));
    if (!db->facilities || !r)
        return free(r), *error = "out of memory", false;
    r->kind = kind;
    snprintf(r->ident, sizeof r->ident, "%s", entry.ident.c_str());
    r->position =
        GeoPosition{entry.latitude * DEG_TO_RAD, entry.longitude * DEG_TO_RAD, entry.altitude};
    r->frequency = static_cast<float>(entry.frequency);
    if (!List_Append(db->facilities, r))
        return free(r), *error = "out of memory", false;
    return true;
}
