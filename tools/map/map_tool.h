// tools/map/map_tool.h
// The pieces of skorvan-map: its options, the route and traffic files, the
// facility file it reads (skorvan-facilities' JSON, GeoJSON or CSV), the
// picture it writes, and the whole run after the command line.
#pragma once

#include "map.h"

#include "cli.h"
#include "csv.h"

#include <string>
#include <vector>

// The command line as given, then what MapOptions_Check derives from it.
struct MapOptions {
    std::string out, format, scenery, facilities, route, traffic, size;
    std::vector<std::string> runways;
    double lat = 0, lon = 0, range = 50000, scale = 300, rotation = 0;
    bool quiet = false;
    // Derived.
    bool svg = false;
    int width = 800, height = 800;
    int runwayCount = 0;
    RunwayEnd runwayEnds[2] = {};
};

// The largest side of a picture, pixels.
static const int MAP_MAX_SIDE = 8000;
// Plausible altitudes of a facility, feet: below the Dead Sea's shore to
// far above any aircraft.
static const double MAP_ALTITUDE_LOW_FT = -2000, MAP_ALTITUDE_HIGH_FT = 100000;

void MapOptions_Add(CLI::App& app, MapOptions* options);
// The rules CLI11 cannot state, and an output naming an input; false with
// a message naming the option, before anything is read or written.
bool MapOptions_Check(MapOptions* options, std::string* error);

// The route and traffic CSV files, from text named name in messages, or
// from a file ("-" is standard input). Messages name the file, the line,
// the column and the value.
bool MapInput_ParseRoute(const std::string& text, const std::string& name, MapRoute* route,
                         std::string* error);
bool MapInput_ParseTraffic(const std::string& text, const std::string& name,
                           std::vector<TrafficTarget>* traffic, std::string* error);
bool MapInput_ReadRoute(const std::string& path, MapRoute* route, std::string* error);
bool MapInput_ReadTraffic(const std::string& path, std::vector<TrafficTarget>* traffic,
                          std::string* error);

// One facility as a file states it, before it is checked.
struct MapFacilityText {
    std::string kind, ident;
    double latitude, longitude, altitude = 0, frequency = 0;
};
// Checks entry (on the earth, a plausible altitude, a known kind) and
// appends it to db->facilities; false with "WHERE: problem" in error.
bool MapFacilities_Add(FacilityDatabase* db, const MapFacilityText& entry, const std::string& where,
                       std::string* error);
// The facilities of skorvan-facilities' output: its JSON array or GeoJSON
// FeatureCollection, or its CSV; false with "WHERE: problem" in error. An
// empty array, collection or table gives no facilities and is no error.
bool MapFacilities_ParseJson(const std::string& text, FacilityDatabase* db, std::string* error);
bool MapFacilities_ParseCsv(const std::string& text, FacilityDatabase* db, std::string* error);
// Any of the three, told apart by the first character after a byte-order
// mark and blanks; nothing at all (such as /dev/null) gives no facilities.
bool MapFacilities_ParseText(const std::string& text, FacilityDatabase* db, std::string* error);
// Fills db from --scenery or else --facilities; messages name the path.
bool MapFacilities_Load(const MapOptions& options, FacilityDatabase* db, std::string* error);

// Draws the map and writes it to options.out through a safe output; false
// with a message.
bool MapPicture_Write(const MapOptions& options, const MapContext& context, const MapScene& scene,
                      std::string* error);

// The whole program after its command line; returns the exit status, with
// the message of a failure in error.
int Map_Run(const MapOptions& options, std::string* error);
