// tools/facilities/options.cpp
// skorvan-facilities' options: declared for CLI11, then checked.
#include "facilities_tool.h"

#include <cmath>
#include <cstdlib>

static const char FOOTER[] =
    "Reads the VOR, NDB and airport sections of one scenery file (- is standard input),\n"
    "or every facility file below a simulator folder (SCENEDB/EASTHEM, SCENEDB/WESTHEM\n"
    "and SCENEDB/AFDFILES/SCENERY), and prints the records. --near prints only the\n"
    "facilities near a position (degrees), as the moving map would draw them.\n"
    "Exit status: 0 done (damaged files in a folder are named and skipped past), 1 the\n"
    "input is missing or a single file is damaged, or the output failed, 2 a usage error.\n";

void FacilitiesOptions_Add(CLI::App& app, FacilitiesOptions* o) {
    app.footer(FOOTER);
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("INPUT", o->input, "A scenery file, a simulator folder, or - (standard input)")
        ->required();
    app.add_option("--format", o->format, "json (default), csv or geojson");
    app.add_option("--near", o->near, "LAT,LON: only the facilities the map would draw there");
    app.add_option("--out", o->out, "Where to write: FILE or - (standard output, the default)");
    Cli_AddStandard(app, &o->quiet);
}

// NaN fails the range tests too.
static bool ParseNear(FacilitiesOptions* o) {
    const char* text = o->near.c_str();
    char* end = nullptr;
    o->nearLat = strtod(text, &end);
    if (end == text || *end != ',')
        return false;
    text = end + 1;
    o->nearLon = strtod(text, &end);
    return end != text && *end == '\0' && fabs(o->nearLat) <= 90 && fabs(o->nearLon) <= 180;
}

bool FacilitiesOptions_Check(FacilitiesOptions* o, std::string* error) {
    if (o->format != "json" && o->format != "csv" && o->format != "geojson")
        return *error = "--format is json, csv or geojson, not '" + o->format + "'", false;
    o->hasNear = !o->near.empty();
    if (o->hasNear && !ParseNear(o))
        return *error =
                   "--near needs LAT,LON in degrees, such as 47.45,8.55, not '" + o->near + "'",
               false;
    if (o->input.empty())
        return *error = "INPUT is empty", false;
    while (o->input.size() > 1 && o->input.back() == '/')
        o->input.pop_back();
    return true;
}
