// tools/map/facility_source.cpp
// Where skorvan-map's facilities come from: a simulator folder read as the
// database reads it, or a file skorvan-facilities wrote, told apart by its
// first character.
#include "map_tool.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

static bool LoadScenery(const MapOptions& options, FacilityDatabase* db, std::string* error) {
    const std::string& root = options.scenery;
    std::error_code ignored;
    if (!fs::is_directory(root, ignored))
        return *error = root + " is not a folder", false;
    if (!fs::is_directory(fs::path(root) / "SCENEDB", ignored))
        return *error = root + " has no SCENEDB folder: not a simulator folder", false;
    if (root.size() >= sizeof db->sceneryRoot)
        return *error = root + " is too long a path", false;
    snprintf(db->sceneryRoot, sizeof db->sceneryRoot, "%s", root.c_str());
    if (Cli_ShowProgress(options.quiet))
        fprintf(stderr, "skorvan-map: reading the scenery below %s ...\n", root.c_str());
    Facility_LoadDatabase(db);
    return true;
}

bool MapFacilities_ParseText(const std::string& text, FacilityDatabase* db, std::string* error) {
    db->loaded = 1;
    const size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    const size_t first = text.find_first_not_of(" \t\r\n", start);
    if (first == std::string::npos)
        return true; // nothing at all, such as /dev/null: a map without facilities
    const bool json = text[first] == '[' || text[first] == '{';
    const std::string body = text.substr(first);
    return json ? MapFacilities_ParseJson(body, db, error)
                : MapFacilities_ParseCsv(body, db, error);
}

static bool LoadFile(const std::string& path, FacilityDatabase* db, std::string* error) {
    std::string text;
    if (!Cli_ReadAll(path, &text, error))
        return *error = "cannot read " + *error, false;
    if (!MapFacilities_ParseText(text, db, error))
        return *error = (path == "-" ? "standard input" : path) + ": " + *error, false;
    return true;
}

bool MapFacilities_Load(const MapOptions& options, FacilityDatabase* db, std::string* error) {
    if (!options.scenery.empty())
        return LoadScenery(options, db, error);
    return LoadFile(options.facilities, db, error);
}
