// tools/map/map_tool.h
// The pieces of skorvan-map: its options, the CSV rows it reads, the
// facility file it reads (skorvan-facilities' JSON, GeoJSON or CSV), the
// route and traffic files, and the picture it writes.
#pragma once

#include "map.h"

#include "cli.h"

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

void MapOptions_Add(CLI::App& app, MapOptions* options);
// The rules CLI11 cannot state; false with a message naming the option.
bool MapOptions_Check(MapOptions* options, std::string* error);

// A finite number, the whole text; a whole number within 32 bits.
bool MapText_Number(const std::string& text, double* out);
bool MapText_Kind(const std::string& text, int32_t* out);

// One record of a CSV file and the line of the file it starts on.
struct CsvRow {
    int line;
    std::vector<std::string> fields;
};
// RFC 4180 rows; blank lines and lines starting with '#' are skipped and
// still counted. False with "line N: ..." in error when a quote is not closed.
bool Csv_Parse(const std::string& text, std::vector<CsvRow>* rows, std::string* error);
// Reads path ("-" is standard input), checks that its first row is header
// and every other row has as many fields; the header row is removed.
bool Csv_ReadTable(const std::string& path, const std::string& header, std::vector<CsvRow>* rows,
                   std::string* error);

bool MapInput_ReadRoute(const std::string& path, MapRoute* route, std::string* error);
bool MapInput_ReadTraffic(const std::string& path, std::vector<TrafficTarget>* traffic,
                          std::string* error);

// One facility as a file states it, before it is checked.
struct MapFacilityText {
    std::string kind, ident;
    double latitude, longitude, altitude = 0, frequency = 0;
};
// Checks entry (finite, on the earth, a known kind) and appends it to
// db->facilities; false with "WHERE: problem" in error.
bool MapFacilities_Add(FacilityDatabase* db, const MapFacilityText& entry, const std::string& where,
                       std::string* error);
// The facilities of skorvan-facilities' output: its JSON array or GeoJSON
// FeatureCollection, or its CSV; false with "WHERE: problem" in error.
bool MapFacilities_ParseJson(const std::string& text, FacilityDatabase* db, std::string* error);
bool MapFacilities_ParseCsv(const std::string& text, FacilityDatabase* db, std::string* error);
// Fills db from --scenery or else --facilities; messages name the path. A
// file with nothing in it gives no facilities; any other without one fails.
bool MapFacilities_Load(const MapOptions& options, FacilityDatabase* db, std::string* error);

// Draws the map and writes it to options.out; false with a message.
bool MapPicture_Write(const MapOptions& options, const MapContext& context, const MapScene& scene,
                      std::string* error);
