// tools/facilities/input.cpp
// What skorvan-facilities reads: a simulator folder, one scenery file, or
// one file on standard input. Damaged files are named on standard error.
#include "facilities_tool.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

// The reader's damage callback; context: the count of damaged files.
static void ReportDamage(const char* path, const FacilityReadReport* report, void* context) {
    ++*static_cast<int*>(context);
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

static bool ReadRoot(const FacilitiesOptions& o, FacilityDatabase* db, std::string* error) {
    std::error_code ignored;
    if (o.input.size() >= sizeof db->sceneryRoot)
        return *error = o.input + " is too long a path", false;
    if (!fs::is_directory(fs::path(o.input) / "SCENEDB", ignored))
        return *error = o.input + " has no SCENEDB folder: not a simulator folder", false;
    snprintf(db->sceneryRoot, sizeof db->sceneryRoot, "%s", o.input.c_str());
    if (Cli_ShowProgress(o.quiet))
        fprintf(stderr, "skorvan-facilities: reading the scenery below %s ...\n", o.input.c_str());
    Facility_LoadDatabase(db);
    return true;
}

static bool ReadStandardInput(FacilityDatabase* db, int* damagedFiles, std::string* error) {
    std::string bytes;
    if (!Cli_ReadAll("-", &bytes, error))
        return false;
    FacilityReadReport report = {};
    Facility_ReadBufferReport(db, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                              &report);
    if (report.damage)
        ReportDamage("standard input", &report, damagedFiles);
    return true;
}

static void ReadOneFile(const std::string& path, FacilityDatabase* db) {
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    Facility_ReadFile(db, folder.c_str(),
                      path.c_str() + (slash == std::string::npos ? 0 : slash + 1));
}

bool FacilitiesInput_Read(const FacilitiesOptions& o, FacilitiesInput* in, std::string* error) {
    std::error_code ignored;
    in->damagedFiles = 0;
    in->singleFile = !fs::is_directory(o.input, ignored);
    if (o.input != "-" && !fs::exists(o.input, ignored))
        return *error = o.input + " does not exist", false;
    // Counted straight into the result; the callback is dropped again before
    // returning, so it never outlives what its context points to.
    Facility_SetDamageCallback(ReportDamage, &in->damagedFiles);
    bool read = true;
    if (!in->singleFile)
        read = ReadRoot(o, &in->db, error);
    else if (o.input == "-")
        read = ReadStandardInput(&in->db, &in->damagedFiles, error);
    else
        ReadOneFile(o.input, &in->db);
    Facility_SetDamageCallback(nullptr, nullptr);
    if (!read)
        return false;
    in->db.loaded = 1;
    if (!in->db.facilities)
        in->db.facilities = List_Create(Facility_ReleaseRecord);
    return in->db.facilities != nullptr || (*error = "out of memory", false);
}
