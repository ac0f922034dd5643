// tools/map/options.cpp
// skorvan-map's options: declared for CLI11, then the rules between them.
#include "map_tool.h"

#include <cctype>
#include <cmath>
#include <cstdio>

static const char FOOTER[] =
    "Draws the moving map centred on the picture. --range metres are shown --scale\n"
    "pixels from the centre. --facilities reads what skorvan-facilities writes (JSON,\n"
    "GeoJSON or CSV). The route CSV has the header point_kind,facility_kind,ident,lat_deg,\n"
    "lon_deg (point kinds 1, 2, 3, 6, 8 are route marks, others waypoints; facility kinds\n"
    "1 NDB, 2 VOR, 5 airport); the traffic CSV lat_deg,lon_deg,kind,relative_altitude_ft\n"
    "(kinds 1 to 4). Exit status: 0 drawn, 1 an input or the output failed, 2 a usage error.\n";

// CLI11 names the option in front of this message.
static std::string NumberCheck(const std::string& text) {
    double value;
    return MapText_Number(text, &value) ? "" : "needs a number, not '" + text + "'";
}

void MapOptions_Add(CLI::App& app, MapOptions* o) {
    const CLI::Validator number(NumberCheck, "NUMBER", "number");
    app.footer(FOOTER);
    // A later option wins, as scripts that append to a common list expect.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("--out", o->out, "The picture: FILE.png, FILE.svg or - (standard output)")
        ->required();
    app.add_option("--format", o->format, "png or svg (default: from --out's extension)");
    app.add_option("--scenery", o->scenery, "A simulator folder to read the facilities from");
    app.add_option("--facilities", o->facilities,
                   "skorvan-facilities' JSON, GeoJSON or CSV (- is standard input)");
    app.add_option("--lat", o->lat, "Latitude of the centre, degrees")->required()->check(number);
    app.add_option("--lon", o->lon, "Longitude of the centre, degrees")->required()->check(number);
    app.add_option("--range", o->range, "Metres from the centre to --scale pixels (50000)")
        ->check(number);
    app.add_option("--scale", o->scale, "Pixels of --range (300)")->check(number);
    app.add_option("--rotation", o->rotation, "Degrees the map is turned (0, north up)")
        ->check(number);
    app.add_option("--size", o->size, "WxH pixels (800x800)");
    app.add_option("--route", o->route, "Route CSV (- is standard input)");
    app.add_option("--traffic", o->traffic, "Traffic CSV (- is standard input)");
    app.add_option("--runway", o->runways,
                   "LAT,LON,HEADING,LENGTH_M from a threshold; twice at most")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    Cli_AddStandard(app, &o->quiet);
}

static std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

// png or svg from --format, else from the extension of --out in any case.
static bool CheckFormat(MapOptions* o, std::string* error) {
    const std::string out = Lower(o->out);
    const std::string extension = out.size() > 4 ? out.substr(out.size() - 4) : "";
    const std::string fromName = extension == ".png" ? "png" : extension == ".svg" ? "svg" : "";
    std::string format = Lower(o->format);
    if (!format.empty() && format != "png" && format != "svg")
        return *error = "--format is png or svg, not '" + o->format + "'", false;
    if (!format.empty() && !fromName.empty() && format != fromName)
        return *error = "--format " + format + " does not match --out " + o->out, false;
    if (format.empty() && o->out == "-")
        return *error = "--out - needs --format png or --format svg", false;
    if (format.empty() && fromName.empty())
        return *error = "--out must end in .png or .svg (or give --format)", false;
    o->svg = (format.empty() ? fromName : format) == "svg";
    return true;
}

static bool CheckRunways(MapOptions* o, std::string* error) {
    if (o->runways.size() > 2)
        return *error = "--runway may be given twice at most", false;
    for (const std::string& text : o->runways) {
        double v[4];
        int used = 0;
        if (sscanf(text.c_str(), "%lf,%lf,%lf,%lf%n", &v[0], &v[1], &v[2], &v[3], &used) != 4 ||
            used != static_cast<int>(text.size()) || !std::isfinite(v[0] + v[1] + v[2] + v[3]) ||
            v[3] <= 0)
            return *error = "--runway needs LAT,LON,HEADING,LENGTH_M, not '" + text + "'", false;
        RunwayEnd& end = o->runwayEnds[o->runwayCount++];
        end.ident[0] = static_cast<char>('0' + o->runwayCount); // any non-empty ident
        end.threshold = GeoPosition{v[0] * DEG_TO_RAD, v[1] * DEG_TO_RAD, 0};
        end.heading = static_cast<float>(v[2]);
        end.length = static_cast<float>(v[3]);
    }
    return true;
}

static bool CheckSize(MapOptions* o, std::string* error) {
    if (o->size.empty())
        return true;
    int used = 0;
    if (sscanf(o->size.c_str(), "%dx%d%n", &o->width, &o->height, &used) != 2 ||
        used != static_cast<int>(o->size.size()) || o->width < 16 || o->height < 16 ||
        o->width > 8000 || o->height > 8000)
        return *error = "--size needs WxH between 16 and 8000, such as 800x600", false;
    return true;
}

bool MapOptions_Check(MapOptions* o, std::string* error) {
    if (!(o->range > 0))
        return *error = "--range must be above 0 metres", false;
    if (!(o->scale > 0))
        return *error = "--scale must be above 0 pixels", false;
    if (fabs(o->lat) > 90 || fabs(o->lon) > 180)
        return *error = "--lat is -90 to 90 and --lon -180 to 180 degrees", false;
    if (!o->scenery.empty() && !o->facilities.empty())
        return *error = "--scenery and --facilities are two sources: give one", false;
    if ((o->facilities == "-") + (o->route == "-") + (o->traffic == "-") > 1)
        return *error = "only one of --facilities, --route and --traffic can read standard input",
               false;
    return CheckFormat(o, error) && CheckSize(o, error) && CheckRunways(o, error);
}
