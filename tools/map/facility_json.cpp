// tools/map/facility_json.cpp
// skorvan-facilities' JSON array and GeoJSON, read with nlohmann-json: any
// spacing and any order of the keys, as jq or Python leave them.
#include "map_tool.h"

#include <nlohmann/json.hpp>

using nlohmann::json;

// A string member; absent is empty, another type is a problem.
static bool Text(const json& object, const char* key, std::string* out, std::string* problem) {
    const auto it = object.find(key);
    if (it == object.end())
        return true;
    if (!it->is_string())
        return *problem = std::string(key) + " is not a string", false;
    *out = it->get<std::string>();
    return true;
}

// A number member; required ones must be there, others default to 0.
static bool Number(const json& object, const char* key, bool required, double* out,
                   std::string* problem) {
    const auto it = object.find(key);
    if (it == object.end() && !required)
        return true;
    if (it == object.end() || !it->is_number())
        return *problem = std::string(key) + " is not a number", false;
    *out = it->get<double>();
    return true;
}

static bool ReadArray(const json& all, FacilityDatabase* db, std::string* error) {
    for (size_t i = 0; i < all.size(); ++i) {
        const json& f = all[i];
        const std::string where = "record " + std::to_string(i + 1);
        MapFacilityText entry;
        std::string problem = "not an object with a kind";
        if (!f.is_object() || !f.contains("kind") || !Text(f, "kind", &entry.kind, &problem) ||
            !Text(f, "ident", &entry.ident, &problem) ||
            !Number(f, "latitude", true, &entry.latitude, &problem) ||
            !Number(f, "longitude", true, &entry.longitude, &problem) ||
            !Number(f, "altitude", false, &entry.altitude, &problem) ||
            !Number(f, "frequency", false, &entry.frequency, &problem))
            return *error = where + ": " + problem, false;
        if (!MapFacilities_Add(db, entry, where, error))
            return false;
    }
    return true;
}

// A member of an object, or null when it is absent or no object holds it.
static const json& Member(const json& object, const char* key) {
    static const json NONE;
    if (!object.is_object())
        return NONE;
    const auto it = object.find(key);
    return it == object.end() ? NONE : *it;
}

// [longitude, latitude] of a Point geometry.
static bool Point(const json& geometry, MapFacilityText* entry, std::string* problem) {
    const json& c = Member(geometry, "coordinates");
    if (Member(geometry, "type") != "Point")
        return *problem = "the geometry is not a Point", false;
    if (!c.is_array() || c.size() < 2 || !c[0].is_number() || !c[1].is_number())
        return *problem = "the coordinates are not [longitude, latitude]", false;
    entry->longitude = c[0].get<double>();
    entry->latitude = c[1].get<double>();
    return true;
}

// Points of VORs, NDBs and airports; runway lines are not facilities.
static bool ReadFeature(const json& feature, const std::string& where, FacilityDatabase* db,
                        std::string* error) {
    const json& properties = Member(feature, "properties");
    MapFacilityText entry;
    std::string problem = "no properties with a kind";
    if (properties.contains("kind") && Text(properties, "kind", &entry.kind, &problem) &&
        Text(properties, "ident", &entry.ident, &problem) &&
        Number(properties, "frequency", false, &entry.frequency, &problem)) {
        if (entry.kind == "RUNWAY")
            return true;
        if (Point(Member(feature, "geometry"), &entry, &problem))
            return MapFacilities_Add(db, entry, where, error);
    }
    return *error = where + ": " + problem, false;
}

static bool ReadGeoJson(const json& all, FacilityDatabase* db, std::string* error) {
    const json& features = Member(all, "features");
    if (Member(all, "type") != "FeatureCollection" || !features.is_array())
        return *error = "not a GeoJSON FeatureCollection with features", false;
    for (size_t i = 0; i < features.size(); ++i)
        if (!ReadFeature(features[i], "feature " + std::to_string(i + 1), db, error))
            return false;
    return true;
}

bool MapFacilities_ParseJson(const std::string& text, FacilityDatabase* db, std::string* error) {
    json all;
    try {
        all = json::parse(text);
    } catch (const json::exception& e) { // a syntax error, or a number beyond a double
        const std::string what = e.what();
        const size_t bracket = what.find("] ");
        return *error = "not valid JSON: " +
                        (bracket == std::string::npos ? what : what.substr(bracket + 2)),
               false;
    }
    if (all.is_array())
        return ReadArray(all, db, error);
    if (all.is_object())
        return ReadGeoJson(all, db, error);
    return *error = "neither a JSON array of facilities nor GeoJSON", false;
}
