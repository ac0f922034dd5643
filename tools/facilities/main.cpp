// tools/facilities/main.cpp
// skorvan-facilities: reads one scenery file or a whole scenery root with
// the facility reader and prints the records as JSON, CSV or GeoJSON, or
// the facilities near a position.
#include "facilities.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static const char USAGE[] =
    "usage: skorvan-facilities FILE.BGL|SCENERY-ROOT [--format json|csv|geojson] [--near LAT,LON]\n"
    "Reads the VOR, NDB and airport sections of one scenery file, or every facility\n"
    "file below a simulator folder (SCENEDB/EASTHEM, SCENEDB/WESTHEM and\n"
    "SCENEDB/AFDFILES/SCENERY), and prints the records. --near prints only the\n"
    "facilities near a position (degrees), as the moving map would draw them.\n";

static int g_damagedFiles = 0;

static void ReportDamage(const char* path, const FacilityReadReport* report) {
    ++g_damagedFiles;
    std::string what;
    if (report->damage & FACILITY_DAMAGE_HEADER)
        what += ", shorter than its header (nothing read)";
    if (report->damage & FACILITY_DAMAGE_VOR)
        what += ", VOR section cut short";
    if (report->damage & FACILITY_DAMAGE_NDB)
        what += ", NDB section cut short";
    if (report->damage & FACILITY_DAMAGE_AIRPORT)
        what += ", airport section cut short";
    fprintf(stderr, "skorvan-facilities: %s: damaged%s; %d records read from it\n", path,
            what.c_str(), report->records);
}

static const char* KindName(int32_t kind) {
    return kind == FACILITY_VOR       ? "VOR"
           : kind == FACILITY_NDB     ? "NDB"
           : kind == FACILITY_AIRPORT ? "AIRPORT"
                                      : "?";
}

// The output, built in one buffer and written in large pieces: a run over
// a whole scenery tree prints some twenty megabytes.
struct Out {
    std::string buffer;
    bool failed = false;
    Out() { buffer.reserve(2u << 20); }
    void Flush() {
        if (!buffer.empty() && fwrite(buffer.data(), 1, buffer.size(), stdout) != buffer.size())
            failed = true;
        buffer.clear();
    }
    Out& operator<<(const char* text) {
        buffer += text;
        if (buffer.size() > (1u << 20))
            Flush();
        return *this;
    }
    Out& operator<<(int32_t v) { return Number(v); }
    Out& operator<<(double v) { return Number(v); }
    Out& operator<<(float v) { return Number(v); }
    // Numbers in their shortest form that reads back to the same value
    // (47 rather than 47.000000000000001), a float as a float.
    template <typename T> Out& Number(T v) {
        char text[40];
        buffer.append(text, std::to_chars(text, text + sizeof text, v).ptr);
        return *this;
    }
    // A JSON string of an identifier: quotes, backslashes and control bytes
    // escaped, other bytes above 127 as \u00XX (the files are single-byte text).
    Out& Json(const char* text) {
        buffer += '"';
        for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
            if (*c == '"' || *c == '\\') {
                buffer += '\\';
                buffer += static_cast<char>(*c);
            } else if (*c < 0x20 || *c > 0x7E) {
                char escape[8];
                snprintf(escape, sizeof escape, "\\u%04x", *c);
                buffer += escape;
            } else {
                buffer += static_cast<char>(*c);
            }
        }
        buffer += '"';
        return *this;
    }
    Out& Point(const GeoPosition& p) {
        return *this << "{\"latitude\":" << p.latitude * RAD_TO_DEG
                     << ",\"longitude\":" << p.longitude * RAD_TO_DEG << "}";
    }
    // [longitude, latitude] as GeoJSON has them, longitude in [-180, 180].
    Out& Coordinates(const GeoPosition& p) {
        return *this << "[" << remainder(p.longitude * RAD_TO_DEG, 360.0) << ","
                     << p.latitude * RAD_TO_DEG << "]";
    }
};

static void EndJson(Out& out, const RunwayEnd& e) {
    out << "{\"ident\":";
    out.Json(e.ident) << ",\"threshold\":";
    out.Point(e.threshold) << ",\"heading\":" << e.heading << ",\"length\":" << e.length
                           << ",\"aidIdent\":";
    out.Json(e.aidIdent) << ",\"aidPosition\":";
    out.Point(e.aidPosition) << ",\"aidCourse\":" << e.aidCourse
                             << ",\"aidFrequency\":" << e.aidFrequency << "}";
}

static void PrintJson(Out& out, const ObjectList* list) {
    out << "[";
    const char* comma = "\n";
    for (const ListNode* n = list ? list->head : nullptr; n; n = n->next, comma = ",\n") {
        const FacilityRecord* r = static_cast<const FacilityRecord*>(n->item);
        out << comma << "{\"kind\":\"" << KindName(r->kind) << "\",\"ident\":";
        out.Json(r->ident) << ",\"latitude\":" << r->position.latitude * RAD_TO_DEG
                           << ",\"longitude\":" << r->position.longitude * RAD_TO_DEG
                           << ",\"altitude\":" << r->position.altitude
                           << ",\"frequency\":" << r->frequency
                           << ",\"entryCode\":" << (r->kind == FACILITY_VOR ? r->entryCode : 0)
                           << ",\"runways\":[";
        for (int32_t i = 0; i < r->runwayCount; ++i) {
            const RunwayRecord& w = r->runways[i];
            out << (i ? "," : "") << "{\"ident\":";
            out.Json(w.ident) << ",\"centre\":";
            out.Point(w.centre) << ",\"heading\":" << w.heading << ",\"length\":" << w.length
                                << ",\"width\":" << w.width << ",\"primaryEnd\":";
            EndJson(out, w.primaryEnd);
            out << ",\"oppositeEnd\":";
            EndJson(out, w.oppositeEnd);
            out << "}";
        }
        out << "]}";
    }
    out << "\n]\n";
}

static void PrintCsv(Out& out, const ObjectList* list) {
    out << "kind,ident,lat_deg,lon_deg,alt_ft,frequency_mhz,runways\n";
    for (const ListNode* n = list ? list->head : nullptr; n; n = n->next) {
        const FacilityRecord* r = static_cast<const FacilityRecord*>(n->item);
        std::string ident = r->ident;
        for (char& c : ident)
            if (c == ',' || c == '"')
                c = '_';
        out << KindName(r->kind) << "," << ident.c_str() << "," << r->position.latitude * RAD_TO_DEG
            << "," << r->position.longitude * RAD_TO_DEG << "," << r->position.altitude << ","
            << r->frequency << "," << r->runwayCount << "\n";
    }
}

static void PrintGeoJson(Out& out, const ObjectList* list) {
    out << "{\"type\":\"FeatureCollection\",\"features\":[";
    const char* comma = "\n";
    for (const ListNode* n = list ? list->head : nullptr; n; n = n->next) {
        const FacilityRecord* r = static_cast<const FacilityRecord*>(n->item);
        out << comma << "{\"type\":\"Feature\",\"properties\":{\"kind\":\"" << KindName(r->kind)
            << "\",\"ident\":";
        out.Json(r->ident) << ",\"frequency\":" << r->frequency
                           << "},\"geometry\":{\"type\":\"Point\",\"coordinates\":";
        out.Coordinates(r->position) << "}}";
        comma = ",\n";
        for (int32_t i = 0; i < r->runwayCount; ++i) {
            const RunwayRecord& w = r->runways[i];
            out << ",\n{\"type\":\"Feature\",\"properties\":{\"kind\":\"RUNWAY\",\"airport\":";
            out.Json(r->ident) << ",\"ident\":";
            out.Json(w.ident) << "},\"geometry\":{\"type\":\"LineString\",\"coordinates\":[";
            out.Coordinates(w.primaryEnd.threshold) << ",";
            out.Coordinates(w.oppositeEnd.threshold) << "]}}";
        }
    }
    out << "\n]}\n";
}

int main(int argc, char** argv) {
    std::string input, format = "json";
    bool near = false, singleFile = false;
    double nearLat = 0, nearLon = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            fputs(USAGE, stdout);
            return 0;
        } else if (arg == "--format" && i + 1 < argc) {
            format = argv[++i];
            if (format != "json" && format != "csv" && format != "geojson") {
                fprintf(stderr, "skorvan-facilities: --format is json, csv or geojson, not '%s'\n",
                        format.c_str());
                return 2;
            }
        } else if (arg == "--near" && i + 1 < argc) {
            char* end = nullptr;
            nearLat = strtod(argv[++i], &end);
            if (*end != ',' || (nearLon = strtod(end + 1, &end), *end != '\0') ||
                !(fabs(nearLat) <= 90) || !(fabs(nearLon) <= 180)) { // NaN fails too
                fprintf(
                    stderr,
                    "skorvan-facilities: --near needs LAT,LON in degrees, such as 47.45,8.55\n");
                return 2;
            }
            near = true;
        } else if (arg[0] != '-' && input.empty()) {
            input = arg;
        } else {
            fprintf(stderr, "skorvan-facilities: unknown or incomplete option %s\n%s", arg.c_str(),
                    USAGE);
            return 2;
        }
    }
    if (input.empty()) {
        fputs(USAGE, stderr);
        return 2;
    }
    while (input.size() > 1 && input.back() == '/')
        input.pop_back();
    struct stat info;
    if (stat(input.c_str(), &info) != 0) {
        fprintf(stderr, "skorvan-facilities: %s does not exist\n", input.c_str());
        return 1;
    }
    Facility_SetDamageCallback(ReportDamage);
    FacilityDatabase db = {};
    if (S_ISDIR(info.st_mode)) {
        if (input.size() >= sizeof db.sceneryRoot) {
            fprintf(stderr, "skorvan-facilities: %s is too long a path\n", input.c_str());
            return 1;
        }
        snprintf(db.sceneryRoot, sizeof db.sceneryRoot, "%s", input.c_str());
        struct stat scenedb;
        if (stat((input + "/SCENEDB").c_str(), &scenedb) != 0 || !S_ISDIR(scenedb.st_mode)) {
            fprintf(stderr,
                    "skorvan-facilities: %s has no SCENEDB folder: not a simulator folder\n",
                    input.c_str());
            return 1;
        }
        fprintf(stderr, "skorvan-facilities: reading the scenery below %s ...\n", input.c_str());
        Facility_LoadDatabase(&db);
    } else {
        singleFile = true;
        const size_t slash = input.find_last_of('/');
        const std::string folder = slash == std::string::npos ? "." : input.substr(0, slash);
        Facility_ReadFile(&db, folder.c_str(),
                          input.c_str() + (slash == std::string::npos ? 0 : slash + 1));
        db.loaded = 1;
    }
    if (db.facilities == nullptr)
        db.facilities = List_Create(Facility_ReleaseRecord);
    const ObjectList* shown = db.facilities;
    if (near) {
        // A stored cell that differs from any real one, so the list is built.
        db.nearCellLatitude = db.nearCellLongitude = INT32_MIN;
        const GeoPosition position = {nearLat * DEG_TO_RAD, nearLon * DEG_TO_RAD, 0};
        Facility_UpdateNearList(&db, &position);
        shown = db.nearFacilities;
    }
    Out out;
    if (format == "csv")
        PrintCsv(out, shown);
    else if (format == "geojson")
        PrintGeoJson(out, shown);
    else
        PrintJson(out, shown);
    out.Flush();
    // A full disk or a closed pipe must not pass for a finished listing.
    if (out.failed || fflush(stdout) != 0 || ferror(stdout)) {
        fprintf(stderr, "skorvan-facilities: cannot write the output: %s\n", strerror(errno));
        Facility_FreeDatabase(&db);
        return 1;
    }
    fprintf(stderr, "skorvan-facilities: %d facilities%s%s\n", shown ? shown->count : 0,
            near ? " near the position" : "",
            g_damagedFiles ? "; some files were damaged (above)" : "");
    Facility_FreeDatabase(&db);
    // One file asked for and found damaged (empty, cut short, not a scenery
    // file at all) is a failure; in a tree the others still count.
    return singleFile && g_damagedFiles ? 1 : 0;
}
