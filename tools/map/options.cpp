// tools/map/options.cpp
// skorvan-map's options: declared for CLI11, then the rules between them.
#include "map_tool.h"

#include "number.h"
#include "output.h"

#include <cctype>

static const char FOOTER[] =
    "Draws the moving map centred on the picture. --range metres are shown --scale\n"
    "pixels from the centre. --facilities reads what skorvan-facilities writes (JSON,\n"
    "GeoJSON or CSV). The route CSV has the header point_kind,facility_kind,ident,lat_deg,\n"
    "lon_deg (point kinds 1, 2, 3, 6, 8 are route marks, others waypoints; facility kinds\n"
    "1 NDB, 2 VOR, 5 airport); the traffic CSV lat_deg,lon_deg,kind,relative_altitude_ft\n"
    "(kinds 1 to 4). Exit status: 0 drawn, 1 an input or the output failed, 2 a usage error.\n";

// LAT,LON,HEADING,LENGTH_M by the tools' number rule; why says what is wrong.
static bool ReadRunway(const std::string& text, double v[4], std::string* why) {
    static const double LOW[4] = {-90, -180, -360, 1}, HIGH[4] = {90, 180, 360, 20000};
    static const char* const NAMES[4] = {"LAT", "LON", "HEADING", "LENGTH_M"};
    size_t from = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t comma = i < 3 ? text.find(',', from) : text.size();
        std::string problem;
        if (comma == std::string::npos ||
            !Number_ReadInRange(text.substr(from, comma - from), LOW[i], HIGH[i], &v[i], &problem))
            return *why = "needs LAT,LON,HEADING,LENGTH_M, not " + Cli_Echo(text) +
                          (problem.empty() ? "" : std::string(": ") + NAMES[i] + " " + problem),
                   false;
        from = comma + 1;
    }
    return true;
}

static CLI::Validator RunwayCheck() {
    return CLI::Validator(
        [](std::string& value) {
            double v[4];
            std::string why;
            return ReadRunway(value, v, &why) ? std::string() : why;
        },
        "LAT,LON,HEADING,LENGTH_M");
}

void MapOptions_Add(CLI::App& app, MapOptions* o) {
    app.footer(FOOTER);
    // A later option wins, as scripts that append to a common list expect.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("--out", o->out, "The picture: FILE.png, FILE.svg or - (standard output)")
        ->required();
    app.add_option("--format", o->format, "png or svg (default: from --out's extension)");
    app.add_option("--scenery", o->scenery, "A simulator folder to read the facilities from");
    app.add_option("--facilities", o->facilities,
                   "skorvan-facilities' JSON, GeoJSON or CSV (- is standard input)");
    app.add_option("--lat", o->lat, "Latitude of the centre, degrees")
        ->required()
        ->check(Cli_NumberRange(-90, 90));
    app.add_option("--lon", o->lon, "Longitude of the centre, degrees")
        ->required()
        ->check(Cli_NumberRange(-180, 180));
    app.add_option("--range", o->range, "Metres from the centre to --scale pixels (50000)")
        ->check(Cli_NumberRange(0, 2e7));
    app.add_option("--scale", o->scale, "Pixels of --range (300)")
        ->check(Cli_NumberRange(0, MAP_MAX_SIDE));
    app.add_option("--rotation", o->rotation, "Degrees the map is turned (0, north up)")
        ->check(Cli_NumberRange(-360, 360));
    app.add_option("--size", o->size, "WxH pixels (800x800)")->check(Cli_SizeCheck(MAP_MAX_SIDE));
    app.add_option("--route", o->route, "Route CSV (- is standard input)");
    app.add_option("--traffic", o->traffic, "Traffic CSV (- is standard input)");
    app.add_option("--runway", o->runways,
                   "LAT,LON,HEADING,LENGTH_M from a threshold; twice at most")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->check(RunwayCheck());
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
        return *error = "--format is png or svg, not " + Cli_Echo(o->format), false;
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
        std::string why;
        if (!ReadRunway(text, v, &why))
            return *error = "--runway " + why, false;
        RunwayEnd& end = o->runwayEnds[o->runwayCount++];
        end.ident[0] = static_cast<char>('0' + o->runwayCount); // any non-empty ident
        end.threshold = GeoPosition{v[0] * DEG_TO_RAD, v[1] * DEG_TO_RAD, 0};
        end.heading = static_cast<float>(v[2]);
        end.length = static_cast<float>(v[3]);
    }
    return true;
}

bool MapOptions_Check(MapOptions* o, std::string* error) {
    if (!(o->range > 0))
        return *error = "--range must be above 0 metres", false;
    if (!(o->scale > 0))
        return *error = "--scale must be above 0 pixels", false;
    std::string why;
    if (!o->size.empty() && !Cli_ReadSize(o->size, MAP_MAX_SIDE, &o->width, &o->height, &why))
        return *error = "--size: " + why, false;
    if (!o->scenery.empty() && !o->facilities.empty())
        return *error = "--scenery and --facilities are two sources: give one", false;
    if ((o->facilities == "-") + (o->route == "-") + (o->traffic == "-") > 1)
        return *error = "only one of --facilities, --route and --traffic can read standard input",
               false;
    if (o->scenery.empty() && o->facilities.empty())
        return *error =
                   "no facilities: give --scenery ROOT or --facilities FILE (/dev/null for none)",
               false;
    return CheckFormat(o, error) && CheckRunways(o, error) &&
           Output_CheckNames({o->facilities, o->route, o->traffic}, {o->out}, {"--out"}, error);
}
