// tools/map/main.cpp
// skorvan-map: draws the moving map around a position to a PNG or SVG file,
// with the facilities of a scenery folder (or of skorvan-facilities' JSON),
// a route and traffic.
#include "cairo_device.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

static const char USAGE[] =
    "usage: skorvan-map --out FILE.png|FILE.svg (--scenery ROOT | --facilities FILE.json)\n"
    "                   --lat DEG --lon DEG [--range METRES] [--scale PIXELS] [--rotation DEG]\n"
    "                   [--size WxH] [--route FILE.csv] [--traffic FILE.csv]\n"
    "                   [--runway LAT,LON,HEADING,LENGTH_M ...] (up to two, from their "
    "thresholds)\n"
    "Draws the moving map centred on the picture. --range (default 50000 m) is shown\n"
    "--scale pixels (default 300) from the centre. The route CSV has the header\n"
    "point_kind,facility_kind,ident,lat_deg,lon_deg (point kinds 1, 2, 3, 6, 8 are route\n"
    "marks, others waypoints; facility kinds 1 NDB, 2 VOR, 5 airport); the traffic CSV\n"
    "lat_deg,lon_deg,kind,relative_altitude_ft (kinds 1 to 4).\n";

static bool Fail(const std::string& message) {
    fprintf(stderr, "skorvan-map: %s\n", message.c_str());
    return false;
}

static bool Number(const char* text, double* out) {
    char* end = nullptr;
    *out = strtod(text, &end);
    return *text != '\0' && *end == '\0' && std::isfinite(*out);
}

// A kind: a whole number that fits 32 bits.
static bool Kind(const char* text, int32_t* out) {
    double value;
    if (!Number(text, &value) || value != std::trunc(value) || value < INT32_MIN ||
        value > INT32_MAX)
        return false;
    *out = static_cast<int32_t>(value);
    return true;
}

// Rows of a CSV file with a fixed header; false with a message naming the line.
static bool ReadCsv(const std::string& path, const std::string& header, size_t columns,
                    std::vector<std::vector<std::string>>* rows) {
    std::ifstream in(path);
    if (!in)
        return Fail("cannot read " + path);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (number == 1) {
            if (line != header)
                return Fail(path + ": line 1 must be the header " + header);
            continue;
        }
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string f; std::getline(split, f, ',');)
            fields.push_back(f);
        if (fields.size() != columns)
            return Fail(path + ": line " + std::to_string(number) + " has " +
                        std::to_string(fields.size()) + " fields, not " + std::to_string(columns));
        rows->push_back(fields);
    }
    return true;
}

static bool ReadRoute(const std::string& path, MapRoute* route) {
    std::vector<std::vector<std::string>> rows;
    if (!ReadCsv(path, "point_kind,facility_kind,ident,lat_deg,lon_deg", 5, &rows))
        return false;
    if (rows.size() > MAP_ROUTE_CAPACITY)
        return Fail(path + ": a route holds at most 100 points");
    for (size_t i = 0; i < rows.size(); ++i) {
        int32_t pointKind, facilityKind;
        double lat, lon;
        if (!Kind(rows[i][0].c_str(), &pointKind) || !Kind(rows[i][1].c_str(), &facilityKind))
            return Fail(path + ": line " + std::to_string(i + 2) +
                        ": a kind is not a whole number within 32 bits");
        if (!Number(rows[i][3].c_str(), &lat) || !Number(rows[i][4].c_str(), &lon))
            return Fail(path + ": line " + std::to_string(i + 2) + ": a number is not a number");
        RoutePoint& p = route->points[route->count++];
        p.pointKind = pointKind;
        p.facility.kind = facilityKind;
        snprintf(p.facility.ident, sizeof p.facility.ident, "%s", rows[i][2].c_str());
        p.facility.position = GeoPosition{lat * DEG_TO_RAD, lon * DEG_TO_RAD, 0};
    }
    return true;
}

static bool ReadTraffic(const std::string& path, std::vector<TrafficTarget>* traffic) {
    std::vector<std::vector<std::string>> rows;
    if (!ReadCsv(path, "lat_deg,lon_deg,kind,relative_altitude_ft", 4, &rows))
        return false;
    for (size_t i = 0; i < rows.size(); ++i) {
        double v[4];
        for (int c = 0; c < 4; ++c)
            if (!Number(rows[i][c].c_str(), &v[c]))
                return Fail(path + ": line " + std::to_string(i + 2) + ": '" + rows[i][c] +
                            "' is not a number");
        int32_t kind;
        if (!Kind(rows[i][2].c_str(), &kind))
            return Fail(path + ": line " + std::to_string(i + 2) + ": kind '" + rows[i][2] +
                        "' is not a whole number within 32 bits");
        traffic->push_back({v[0] * DEG_TO_RAD, v[1] * DEG_TO_RAD, kind, v[3]});
    }
    return true;
}

// The facilities of skorvan-facilities' JSON: of each top-level object its
// kind, ident, latitude and longitude (its runways are skipped).
static bool ReadFacilitiesJson(const std::string& path, FacilityDatabase* db) {
    std::ifstream in(path);
    if (!in)
        return Fail("cannot read " + path);
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    db->facilities = List_Create(Facility_ReleaseRecord);
    size_t at = 0;
    auto field = [&](size_t from, const char* name) -> std::string {
        const std::string key = std::string("\"") + name + "\":";
        const size_t k = text.find(key, from);
        if (k == std::string::npos)
            return "";
        size_t v = k + key.size(), end = v;
        if (text[v] == '"') {
            end = text.find('"', v + 1);
            return text.substr(v + 1, end - v - 1);
        }
        while (end < text.size() && text[end] != ',' && text[end] != '}')
            ++end;
        return text.substr(v, end - v);
    };
    while ((at = text.find("{\"kind\":", at)) != std::string::npos) {
        const std::string kind = field(at, "kind");
        double lat, lon;
        if (!Number(field(at, "latitude").c_str(), &lat) ||
            !Number(field(at, "longitude").c_str(), &lon))
            return Fail(path + ": a facility without a numeric latitude and longitude");
        FacilityRecord* r = static_cast<FacilityRecord*>(calloc(1, sizeof(FacilityRecord)));
        r->kind = kind == "VOR" ? FACILITY_VOR : kind == "NDB" ? FACILITY_NDB : FACILITY_AIRPORT;
        snprintf(r->ident, sizeof r->ident, "%s", field(at, "ident").c_str());
        r->position = GeoPosition{lat * DEG_TO_RAD, lon * DEG_TO_RAD, 0};
        List_Append(db->facilities, r);
        at = text.find("\"runways\":", at);
        if (at == std::string::npos)
            break;
    }
    db->loaded = 1;
    return true;
}

static int Run(int argc, char** argv) {
    std::string out, scenery, facilities, routePath, trafficPath;
    double lat = NAN, lon = NAN, range = 50000, scale = 300, rotation = 0;
    int width = 800, height = 800, runways = 0;
    RunwayEnd runwayEnds[2] = {};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool more = i + 1 < argc;
        double* number = arg == "--lat"        ? &lat
                         : arg == "--lon"      ? &lon
                         : arg == "--range"    ? &range
                         : arg == "--scale"    ? &scale
                         : arg == "--rotation" ? &rotation
                                               : nullptr;
        if (arg == "--help" || arg == "-h") {
            fputs(USAGE, stdout);
            return 0;
        } else if (number && more) {
            if (!Number(argv[++i], number))
                return Fail(arg + " needs a number, not '" + argv[i] + "'"), 2;
        } else if (arg == "--runway" && more) {
            double v[4];
            if (runways == 2 ||
                sscanf(argv[++i], "%lf,%lf,%lf,%lf", &v[0], &v[1], &v[2], &v[3]) != 4 || v[3] <= 0)
                return Fail("--runway needs LAT,LON,HEADING,LENGTH_M (at most two)"), 2;
            RunwayEnd& end = runwayEnds[runways++];
            end.ident[0] = static_cast<char>('0' + runways); // any non-empty ident
            end.threshold = GeoPosition{v[0] * DEG_TO_RAD, v[1] * DEG_TO_RAD, 0};
            end.heading = static_cast<float>(v[2]);
            end.length = static_cast<float>(v[3]);
        } else if (arg == "--size" && more) {
            if (sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width < 16 || height < 16 ||
                width > 8000 || height > 8000)
                return Fail("--size needs WxH between 16 and 8000, such as 800x600"), 2;
        } else if (more && (arg == "--out" || arg == "--scenery" || arg == "--facilities" ||
                            arg == "--route" || arg == "--traffic")) {
            (arg == "--out"          ? out
             : arg == "--scenery"    ? scenery
             : arg == "--facilities" ? facilities
             : arg == "--route"      ? routePath
                                     : trafficPath) = argv[++i];
        } else {
            fprintf(stderr, "skorvan-map: unknown or incomplete option %s\n%s", arg.c_str(), USAGE);
            return 2;
        }
    }
    if (out.empty() || std::isnan(lat) || std::isnan(lon)) {
        fputs(USAGE, stderr);
        return 2;
    }
    if (range <= 0)
        return Fail("--range must be above 0 metres"), 2;
    if (scale <= 0)
        return Fail("--scale must be above 0 pixels"), 2;
    if (fabs(lat) > 90 || fabs(lon) > 180)
        return Fail("--lat is -90 to 90 and --lon -180 to 180 degrees"), 2;
    const bool svg = out.size() > 4 && out.compare(out.size() - 4, 4, ".svg") == 0;
    if (!svg && !(out.size() > 4 && out.compare(out.size() - 4, 4, ".png") == 0))
        return Fail("--out must end in .png or .svg"), 2;

    MapContext context = {};
    FacilityDatabase& db = context.facilities;
    if (!scenery.empty()) {
        struct stat info;
        if (stat(scenery.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            return Fail(scenery + " is not a folder"), 1;
        snprintf(db.sceneryRoot, sizeof db.sceneryRoot, "%s", scenery.c_str());
        Facility_LoadDatabase(&db);
    } else if (!facilities.empty()) {
        if (!ReadFacilitiesJson(facilities, &db))
            return 1;
    }
    std::unique_ptr<MapScene> scene(new MapScene());
    scene->ownLatitude = lat * DEG_TO_RAD, scene->ownLongitude = lon * DEG_TO_RAD;
    scene->mapRange = range, scene->mapScale = scale, scene->mapRotation = rotation;
    scene->showVor = scene->showNdb = scene->showAirports = 1;
    scene->runwayEnds[0] = runwayEnds[0], scene->runwayEnds[1] = runwayEnds[1];
    std::vector<TrafficTarget> traffic;
    if (!routePath.empty() && !ReadRoute(routePath, &scene->route))
        return 1;
    if (!trafficPath.empty() && !ReadTraffic(trafficPath, &traffic))
        return 1;
    scene->traffic = traffic.data(), scene->trafficCount = static_cast<int32_t>(traffic.size());
    if (db.facilities) {
        db.nearCellLatitude = db.nearCellLongitude = INT32_MIN; // build it whatever the cell
        const GeoPosition own = {scene->ownLatitude, scene->ownLongitude, 0};
        Facility_UpdateNearList(&db, &own);
    }

    cairo_surface_t* surface = svg ? cairo_svg_surface_create(out.c_str(), width, height)
                                   : cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.05, 0.07, 0.12); // a dark display
    cairo_paint(cr);
    MapCairoDevice device{cr};
    MapCairoObjects objects;
    const MapCanvas canvas = MapCairo_Canvas(&device, &objects, width, height);
    Map_Draw(&context, &canvas, scene.get());
    // The own aircraft at the centre.
    cairo_set_source_rgb(cr, 1, 1, 0);
    cairo_move_to(cr, width / 2.0, height / 2.0 - 8);
    cairo_line_to(cr, width / 2.0 - 6, height / 2.0 + 6);
    cairo_line_to(cr, width / 2.0 + 6, height / 2.0 + 6);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_destroy(cr);
    const bool written =
        svg || cairo_surface_write_to_png(surface, out.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_finish(surface);
    const bool ok = written && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    const int32_t near = db.nearFacilities ? List_Count(db.nearFacilities) : 0;
    Facility_FreeDatabase(&db);
    if (!ok)
        return Fail("cannot write " + out), 1;
    printf("%d nearby facilities, %d route points, %zu traffic targets drawn to %s\n", near,
           scene->route.count, traffic.size(), out.c_str());
    return 0;
}

int main(int argc, char** argv) {
    return Run(argc, argv);
}
