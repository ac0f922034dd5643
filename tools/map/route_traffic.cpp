// tools/map/route_traffic.cpp
// The route and traffic CSV files of skorvan-map, read through the tools'
// one CSV reader and number rule.
#include "map_tool.h"

#include "number.h"

#include <cstdio>

namespace {

// A table's header and the indexes of its columns in names' order.
bool OpenTable(CsvReader* reader, const std::vector<std::string>& names, std::vector<int>* columns,
               std::string* error) {
    reader->comments = true;
    return Csv_ReadHeader(reader, error) && Csv_FindColumns(*reader, names, columns, error);
}

// Each number field of a record, with the column and the value in a
// failure's message ("route.csv: line 3: lat_deg is 95, outside -90 to 90").
struct Fields {
    const CsvReader& reader;
    const CsvRecord& record;
    std::string* error;
    bool Number(int column, double low, double high, double* out) const {
        std::string why;
        if (Number_ReadInRange(Csv_Field(record, column), low, high, out, &why))
            return true;
        *error = Csv_Where(reader, record, column) + " " + why;
        return false;
    }
    bool Kind(int column, int32_t* out) const {
        long long value = 0;
        std::string why;
        if (!Number_ReadWhole(Csv_Field(record, column), INT32_MIN, INT32_MAX, &value, &why)) {
            *error = Csv_Where(reader, record, column) + " " + why;
            return false;
        }
        *out = static_cast<int32_t>(value);
        return true;
    }
    bool Width() const {
        if (record.fields.size() == reader.columns.size())
            return true;
        *error = Csv_Where(reader, record) + ": " + std::to_string(record.fields.size()) +
                 " fields, the header has " + std::to_string(reader.columns.size());
        return false;
    }
};

} // namespace

bool MapInput_ParseRoute(const std::string& text, const std::string& name, MapRoute* route,
                         std::string* error) {
    CsvReader reader;
    Csv_FromText(&reader, text, name);
    std::vector<int> c;
    if (!OpenTable(&reader, {"point_kind", "facility_kind", "ident", "lat_deg", "lon_deg"}, &c,
                   error))
        return false;
    route->count = 0;
    CsvRecord record;
    while (Csv_Next(&reader, &record, error)) {
        const Fields f{reader, record, error};
        if (route->count == MAP_ROUTE_CAPACITY)
            return *error = Csv_Where(reader, record) + ": a route holds at most " +
                            std::to_string(MAP_ROUTE_CAPACITY) + " points",
                   false;
        RoutePoint& p = route->points[route->count];
        double lat, lon;
        if (!f.Width() || !f.Kind(c[0], &p.pointKind) || !f.Kind(c[1], &p.facility.kind) ||
            !f.Number(c[3], -90, 90, &lat) || !f.Number(c[4], -180, 180, &lon))
            return false;
        snprintf(p.facility.ident, sizeof p.facility.ident, "%s", Csv_Field(record, c[2]).c_str());
        p.facility.position = GeoPosition{lat * DEG_TO_RAD, lon * DEG_TO_RAD, 0};
        ++route->count;
    }
    return error->empty();
}

bool MapInput_ParseTraffic(const std::string& text, const std::string& name,
                           std::vector<TrafficTarget>* traffic, std::string* error) {
    CsvReader reader;
    Csv_FromText(&reader, text, name);
    std::vector<int> c;
    if (!OpenTable(&reader, {"lat_deg", "lon_deg", "kind", "relative_altitude_ft"}, &c, error))
        return false;
    CsvRecord record;
    while (Csv_Next(&reader, &record, error)) {
        const Fields f{reader, record, error};
        double lat, lon, above;
        int32_t kind;
        // Relative: from a target far below the aircraft to one far above.
        const double span = MAP_ALTITUDE_HIGH_FT - MAP_ALTITUDE_LOW_FT;
        if (!f.Width() || !f.Number(c[0], -90, 90, &lat) || !f.Number(c[1], -180, 180, &lon) ||
            !f.Kind(c[2], &kind) || !f.Number(c[3], -span, span, &above))
            return false;
        traffic->push_back({lat * DEG_TO_RAD, lon * DEG_TO_RAD, kind, above});
    }
    return error->empty();
}

bool MapInput_ReadRoute(const std::string& path, MapRoute* route, std::string* error) {
    std::string text;
    if (!Cli_ReadAll(path, &text, error))
        return *error = "cannot read " + *error, false;
    return MapInput_ParseRoute(text, path == "-" ? "standard input" : path, route, error);
}

bool MapInput_ReadTraffic(const std::string& path, std::vector<TrafficTarget>* traffic,
                          std::string* error) {
    std::string text;
    if (!Cli_ReadAll(path, &text, error))
        return *error = "cannot read " + *error, false;
    return MapInput_ParseTraffic(text, path == "-" ? "standard input" : path, traffic, error);
}
