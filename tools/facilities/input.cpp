// tools/facilities/input.cpp
// What skorvan-facilities reads: a simulator folder, one scenery file, a
// pipe or standard input. Damaged and unreadable files are named on
// standard error.
#include "facilities_tool.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

// Why the library could not read path: it says only that it could not.
static std::string UnreadableReason(const char* path) {
    if (strlen(path) >= FACILITY_PATH_SIZE)
        return "its path is longer than the " + std::to_string(FACILITY_PATH_SIZE - 1) +
               " characters the reader takes";
    std::error_code failed;
    const fs::file_status status = fs::status(path, failed);
    if (failed)
        return failed.message();
    if (!fs::is_regular_file(status) && !fs::is_directory(status))
        return "not a regular file";
    FILE* file = fopen(path, "rb");
    if (file == nullptr)
        return strerror(errno);
    fclose(file);
    return "a read failed";
}

std::string Facilities_DamageText(const char* path, const FacilityReadReport* report) {
    if (report->damage & FACILITY_DAMAGE_UNREADABLE)
        return std::string(path) + ": cannot be read (" + UnreadableReason(path) +
               "); nothing read from it";
    std::string what;
    if (report->damage & FACILITY_DAMAGE_HEADER)
        what += ", shorter than its header (nothing read)";
    if (report->damage & FACILITY_DAMAGE_VOR)
        what += ", VOR section cut short";
    if (report->damage & FACILITY_DAMAGE_NDB)
        what += ", NDB section cut short";
    if (report->damage & FACILITY_DAMAGE_AIRPORT)
        what += ", airport section cut short";
    return std::string(path) + ": damaged" + what + "; " + std::to_string(report->records) +
           " records read from it";
}

// The reader's damage callback; context: the count of damaged files.
static void ReportDamage(const char* path, const FacilityReadReport* report, void* context) {
    ++*static_cast<int*>(context);
    fprintf(stderr, "skorvan-facilities: %s\n", Facilities_DamageText(path, report).c_str());
}

static bool ReadRoot(const FacilitiesOptions& o, FacilityDatabase* db, std::string* error) {
    std::error_code ignored;
    if (!fs::is_directory(fs::path(o.input) / "SCENEDB", ignored))
        return *error = o.input + " has no SCENEDB folder: not a simulator folder", false;
    // A root that fits but leaves no room below it is the walk's to report,
    // folder by folder, as too long a path.
    if (o.input.size() >= sizeof db->sceneryRoot)
        return *error = o.input + " is longer than the " +
                        std::to_string(sizeof db->sceneryRoot - 1) + " characters the reader takes",
               false;
    memcpy(db->sceneryRoot, o.input.c_str(), o.input.size() + 1);
    if (Cli_ShowProgress(o.quiet))
        fprintf(stderr, "skorvan-facilities: reading the scenery below %s ...\n", o.input.c_str());
    Facility_LoadDatabase(db);
    return true;
}

void FacilitiesInput_ReadBytes(const std::string& bytes, const std::string& name,
                               FacilitiesInput* in) {
    if (bytes.empty()) { // such as /dev/null: said plainly, and a failure like any damage
        ++in->damagedFiles;
        fprintf(stderr, "skorvan-facilities: %s: empty, not a scenery file\n", name.c_str());
        return;
    }
    FacilityReadReport report = {};
    Facility_ReadBufferReport(&in->db, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                              &report);
    if (report.damage)
        ReportDamage(name.c_str(), &report, &in->damagedFiles);
}

bool FacilitiesInput_Read(const FacilitiesOptions& o, FacilitiesInput* in, std::string* error) {
    std::error_code ignored;
    in->damagedFiles = 0;
    in->singleFile = !fs::is_directory(o.input, ignored);
    if (o.input != "-" && !fs::exists(o.input, ignored))
        return *error = o.input + " does not exist", false;
    bool read = true;
    if (!in->singleFile) {
        // Counted straight into the result; the callback is dropped again
        // before returning, so it never outlives what its context points to.
        Facility_SetDamageCallback(ReportDamage, &in->damagedFiles);
        read = ReadRoot(o, &in->db, error);
        Facility_SetDamageCallback(nullptr, nullptr);
    } else {
        // One file, a pipe, a device or standard input, read whole here:
        // the reader needs all of it anyway, and a pipe cannot be read twice.
        std::string bytes, reason;
        read = Cli_ReadAll(o.input, &bytes, &reason);
        if (!read)
            *error = "cannot read " + reason;
        else
            FacilitiesInput_ReadBytes(bytes, o.input == "-" ? "standard input" : o.input, in);
    }
    if (!read)
        return false;
    in->db.loaded = 1;
    if (!in->db.facilities)
        in->db.facilities = List_Create(Facility_ReleaseRecord);
    return in->db.facilities != nullptr || (*error = "out of memory", false);
}
