// tools/map/route_traffic.cpp
// The route and traffic CSV files of skorvan-map.
#include "map_tool.h"

#include <cstdio>

static std::string Where(const std::string& path, const CsvRow& row) {
    return path + ": line " + std::to_string(row.line) + ": ";
}

bool MapInput_ReadRoute(const std::string& path, MapRoute* route, std::string* error) {
    std::vector<CsvRow> rows;
    if (!Csv_ReadTable(path, "point_kind,facility_kind,ident,lat_deg,lon_deg", &rows, error))
        return false;
    if (rows.size() > MAP_ROUTE_CAPACITY)
        return *error = path + ": a route holds at most 100 points", false;
    for (const CsvRow& row : rows) {
        const std::vector<std::string>& f = row.fields;
        int32_t pointKind, facilityKind;
        double lat, lon;
        if (!MapText_Kind(f[0], &pointKind) || !MapText_Kind(f[1], &facilityKind))
            return *error = Where(path, row) + "a kind is not a whole number within 32 bits", false;
        if (!MapText_Number(f[3], &lat) || !MapText_Number(f[4], &lon))
            return *error = Where(path, row) + "a number is not a number", false;
        RoutePoint& p = route->points[route->count++];
        p.pointKind = pointKind;
        p.facility.kind = facilityKind;
        snprintf(p.facility.ident, sizeof p.facility.ident, "%s", f[2].c_str());
        p.facility.position = GeoPosition{lat * DEG_TO_RAD, lon * DEG_TO_RAD, 0};
    }
    return true;
}

bool MapInput_ReadTraffic(const std::string& path, std::vector<TrafficTarget>* traffic,
                          std::string* error) {
    std::vector<CsvRow> rows;
    if (!Csv_ReadTable(path, "lat_deg,lon_deg,kind,relative_altitude_ft", &rows, error))
        return false;
    for (const CsvRow& row : rows) {
        double v[4];
        for (int c = 0; c < 4; ++c)
            if (!MapText_Number(row.fields[c], &v[c]))
                return *error = Where(path, row) + "'" + row.fields[c] + "' is not a number", false;
        int32_t kind;
        if (!MapText_Kind(row.fields[2], &kind))
            return *error = Where(path, row) + "kind '" + row.fields[2] +
                            "' is not a whole number within 32 bits",
                   false;
        traffic->push_back({v[0] * DEG_TO_RAD, v[1] * DEG_TO_RAD, kind, v[3]});
    }
    return true;
}
