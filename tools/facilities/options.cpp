// tools/facilities/options.cpp
// skorvan-facilities' options: declared for CLI11, then checked.
#include "facilities_tool.h"

#include "number.h"

static const char FOOTER[] =
    "Reads the VOR, NDB and airport sections of one scenery file (- is standard input),\n"
    "or every facility file below a simulator folder (SCENEDB/EASTHEM, SCENEDB/WESTHEM\n"
    "and SCENEDB/AFDFILES/SCENERY), and prints the records. --near prints only the\n"
    "facilities near a position (degrees), as the moving map would draw them.\n"
    "Exit status: 0 done (damaged files in a folder are named and skipped past), 1 the\n"
    "input is missing or unreadable, a single file is damaged, or the output failed (an\n"
    "old --out file then stays as it was), 2 a usage error.\n";

// LAT,LON by the tools' one number rule; why says what is wrong.
static bool ReadNear(const std::string& text, double* lat, double* lon, std::string* why) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos ||
        !Number_ReadInRange(text.substr(0, comma), -90, 90, lat, why) ||
        !Number_ReadInRange(text.substr(comma + 1), -180, 180, lon, why))
        return *why = "needs LAT,LON in degrees, such as 47.45,8.55, not " + Cli_Echo(text), false;
    return true;
}

static CLI::Validator NearCheck() {
    return CLI::Validator(
        [](std::string& value) {
            double lat, lon;
            std::string why;
            return ReadNear(value, &lat, &lon, &why) ? std::string() : why;
        },
        "LAT,LON");
}

void FacilitiesOptions_Add(CLI::App& app, FacilitiesOptions* o) {
    app.footer(FOOTER);
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("INPUT", o->input, "A scenery file, a simulator folder, or - (standard input)")
        ->required();
    app.add_option("--format", o->format, "json (default), csv or geojson");
    app.add_option("--near", o->near, "LAT,LON: only the facilities the map would draw there")
        ->check(NearCheck());
    app.add_option("--out", o->out, "Where to write: FILE or - (standard output, the default)");
    Cli_AddStandard(app, &o->quiet);
}

bool FacilitiesOptions_Check(FacilitiesOptions* o, std::string* error) {
    if (o->format != "json" && o->format != "csv" && o->format != "geojson")
        return *error = "--format is json, csv or geojson, not " + Cli_Echo(o->format), false;
    o->hasNear = !o->near.empty();
    std::string why;
    if (o->hasNear && !ReadNear(o->near, &o->nearLat, &o->nearLon, &why))
        return *error = "--near " + why, false;
    if (o->input.empty())
        return *error = "INPUT is empty", false;
    while (o->input.size() > 1 && o->input.back() == '/')
        o->input.pop_back();
    return Output_CheckNames({o->input}, {o->out}, {"--out"}, error);
}
