// tools/map/facility_record.cpp
// One facility read from a file, checked before the map draws it: a bad
// record would land off the earth or under the wrong symbol.
#include "map_tool.h"

#include "number.h"

#include <cfloat>
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
    // Checked as ranges that NaN fails too.
    if (kind == 0)
        problem = "kind " + Cli_Echo(entry.kind) + " is not VOR, NDB or AIRPORT";
    else if (!(fabs(entry.latitude) <= 90))
        problem = "latitude " + Number_Show(entry.latitude) + " is not within -90 to 90";
    else if (!(fabs(entry.longitude) <= 180))
        problem = "longitude " + Number_Show(entry.longitude) + " is not within -180 to 180";
    else if (!(entry.altitude >= MAP_ALTITUDE_LOW_FT && entry.altitude <= MAP_ALTITUDE_HIGH_FT))
        problem = "altitude " + Number_Show(entry.altitude) + " is not within " +
                  Number_Show(MAP_ALTITUDE_LOW_FT) + " to " + Number_Show(MAP_ALTITUDE_HIGH_FT) +
                  " feet";
    else if (!(entry.frequency >= 0 && entry.frequency <= static_cast<double>(FLT_MAX)))
        problem = "frequency " + Number_Show(entry.frequency) + " is not a frequency";
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
