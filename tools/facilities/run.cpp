// tools/facilities/run.cpp
// skorvan-facilities once its options are checked: read, pick the list,
// write it through a safe output, and say what was done.
#include "facilities_tool.h"

#include <cstdio>

// The list to print: every record, or the near list the map would draw from.
static const ObjectList* Shown(const FacilitiesOptions& o, FacilityDatabase* db) {
    if (!o.hasNear)
        return db->facilities;
    db->nearCellLatitude = db->nearCellLongitude = INT32_MIN; // built whatever cell was stored
    const GeoPosition position = {o.nearLat * DEG_TO_RAD, o.nearLon * DEG_TO_RAD, 0};
    Facility_UpdateNearList(db, &position);
    return db->nearFacilities;
}

// A full disk or a closed pipe must not pass for a finished listing, and
// must not leave a cut-off file in place of the old one.
static bool Write(const FacilitiesOptions& o, const ObjectList* list, std::string* error) {
    OutputFile file;
    if (!Output_Open(&file, o.out, false, error))
        return false;
    FacilitiesOut out;
    out.file = &file;
    out.buffer.reserve(2u << 20);
    if (o.format == "csv")
        Facilities_PrintCsv(&out, list);
    else if (o.format == "geojson")
        Facilities_PrintGeoJson(&out, list);
    else
        Facilities_PrintJson(&out, list);
    Out_Flush(&out);
    if (!out.error.empty())
        return *error = "cannot write the output: " + out.error, false;
    return Output_Commit(&file, error);
}

int Facilities_Run(const FacilitiesOptions& o, std::string* error) {
    FacilitiesInput in;
    if (!FacilitiesInput_Read(o, &in, error))
        return Facility_FreeDatabase(&in.db), CLI_FAILED;
    // One file asked for and found damaged (empty, cut short, not a scenery
    // file at all) is a failure, and an old listing stays as it was; in a
    // tree the others still count.
    if (in.singleFile && in.damagedFiles) {
        Facility_FreeDatabase(&in.db);
        *error = "nothing written: the one file given is damaged (above)";
        return CLI_FAILED;
    }
    const ObjectList* shown = Shown(o, &in.db);
    const int32_t count = shown ? List_Count(shown) : 0;
    const bool written = Write(o, shown, error);
    Facility_FreeDatabase(&in.db);
    if (!written)
        return CLI_FAILED;
    if (!o.quiet)
        fprintf(stderr, "skorvan-facilities: %d facilities%s", count,
                o.hasNear ? " near the position" : "");
    if (!o.quiet && in.damagedFiles)
        fprintf(stderr, "; %d file%s damaged or unreadable (above)", in.damagedFiles,
                in.damagedFiles == 1 ? "" : "s");
    if (!o.quiet)
        fprintf(stderr, "\n");
    return 0;
}
