// tools/facilities/main.cpp
// skorvan-facilities: reads one scenery file or a whole scenery root with
// the facility reader and prints the records as JSON, CSV or GeoJSON, or
// the facilities near a position.
#include "facilities_tool.h"

#include <cstdio>

static int Fail(const std::string& message, int status) {
    fprintf(stderr, "skorvan-facilities: %s\n", message.c_str());
    return status;
}

// The list to print: every record, or the near list the map would draw from.
static const ObjectList* Shown(const FacilitiesOptions& o, FacilityDatabase* db) {
    if (!o.hasNear)
        return db->facilities;
    db->nearCellLatitude = db->nearCellLongitude = INT32_MIN; // built whatever cell was stored
    const GeoPosition position = {o.nearLat * DEG_TO_RAD, o.nearLon * DEG_TO_RAD, 0};
    Facility_UpdateNearList(db, &position);
    return db->nearFacilities;
}

// A full disk or a closed pipe must not pass for a finished listing.
static bool Write(const FacilitiesOptions& o, const ObjectList* list, std::string* error) {
    FacilitiesOut out;
    out.file = Cli_OpenWrite(o.out, false, error);
    if (!out.file)
        return *error = "cannot write " + *error, false;
    out.buffer.reserve(2u << 20);
    if (o.format == "csv")
        Facilities_PrintCsv(&out, list);
    else if (o.format == "geojson")
        Facilities_PrintGeoJson(&out, list);
    else
        Facilities_PrintJson(&out, list);
    Out_Flush(&out);
    std::string closeError;
    const bool closed = Cli_Close(out.file, o.out, &closeError);
    if (out.failed || !closed)
        return *error = "cannot write the output: " +
                        (closeError.empty() ? o.out + ": write failed" : closeError),
               false;
    return true;
}

static int Run(const FacilitiesOptions& o) {
    FacilitiesInput in;
    std::string error;
    if (!FacilitiesInput_Read(o, &in, &error))
        return Facility_FreeDatabase(&in.db), Fail(error, 1);
    const ObjectList* shown = Shown(o, &in.db);
    const int32_t count = shown ? List_Count(shown) : 0;
    const bool written = Write(o, shown, &error);
    Facility_FreeDatabase(&in.db);
    if (!written)
        return Fail(error, 1);
    if (!o.quiet)
        fprintf(stderr, "skorvan-facilities: %d facilities%s%s\n", count,
                o.hasNear ? " near the position" : "",
                in.damagedFiles ? "; some files were damaged (above)" : "");
    // One file asked for and found damaged (empty, cut short, not a scenery
    // file at all) is a failure; in a tree the others still count.
    return in.singleFile && in.damagedFiles ? 1 : 0;
}

// An exception out of here (std::bad_alloc, or CLI11 refusing an option
// declared wrongly, a programming error; Cli_Parse catches the user's
// mistakes and the readers their input's) ends the program through
// std::terminate with a failing status.
int main(int argc, char** argv) { // NOLINT(bugprone-exception-escape)
    CLI::App app("Prints the facilities of scenery files as JSON, CSV or GeoJSON.",
                 "skorvan-facilities");
    FacilitiesOptions options;
    FacilitiesOptions_Add(app, &options);
    const int parsed = Cli_Parse(app, argc, argv);
    if (parsed >= 0)
        return parsed;
    std::string error;
    if (!FacilitiesOptions_Check(&options, &error))
        return Fail(error, 2);
    return Cli_Finish(app, Run(options));
}
