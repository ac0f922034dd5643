// tools/map/facility_csv.cpp
// skorvan-facilities' CSV: one facility a row, named by its line.
#include "map_tool.h"

static const char FACILITY_HEADER[] = "kind,ident,lat_deg,lon_deg,alt_ft,frequency_mhz,runways";

bool MapFacilities_ParseCsv(const std::string& text, FacilityDatabase* db, std::string* error) {
    std::vector<CsvRow> rows;
    if (!Csv_Parse(text, &rows, error))
        return false;
    std::string header;
    for (const std::string& name : rows.empty() ? std::vector<std::string>() : rows[0].fields)
        header += (header.empty() ? "" : ",") + name;
    if (header != FACILITY_HEADER)
        return *error =
                   "neither JSON, GeoJSON nor CSV with the header " + std::string(FACILITY_HEADER),
               false;
    for (size_t i = 1; i < rows.size(); ++i) {
        const std::vector<std::string>& f = rows[i].fields;
        const std::string where = "line " + std::to_string(rows[i].line);
        MapFacilityText entry;
        if (f.size() != 7)
            return *error = where + " has " + std::to_string(f.size()) + " fields, not 7", false;
        if (!MapText_Number(f[2], &entry.latitude) || !MapText_Number(f[3], &entry.longitude) ||
            !MapText_Number(f[4], &entry.altitude) || !MapText_Number(f[5], &entry.frequency))
            return *error = where + ": a position, altitude or frequency is not a number", false;
        entry.kind = f[0];
        entry.ident = f[1];
        if (!MapFacilities_Add(db, entry, where, error))
            return false;
    }
    return true;
}
