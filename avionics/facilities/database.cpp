// avionics/facilities/database.cpp
// The facility database: reading files, walking the scenery folders, and
// the list of facilities near the aircraft.
#include "facilities.h"

#include "dir.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// folder<separator>name into out; 0 (nothing built) when it would not fit.
// Copied by hand: with snprintf, format parsing (here, for the entry's
// upper-cased copy and in the directory seam) made up most of the walk's
// own instructions beside its system calls.
static int JoinPath(char out[FACILITY_PATH_SIZE], const char* folder, const char* name) {
    const size_t folderLength = strlen(folder), nameLength = strlen(name);
    if (folderLength + 1 + nameLength >= FACILITY_PATH_SIZE)
        return 0;
    memcpy(out, folder, folderLength + 1); // the NUL is overwritten next
    out[folderLength] = FACILITY_PATH_SEPARATOR;
    memcpy(out + folderLength + 1, name, nameLength + 1);
    return 1;
}

// An upper-cased copy of name (NUL-terminated, shorter than
// FACILITY_PATH_SIZE) into upper.
static void UpperCaseCopy(char upper[FACILITY_PATH_SIZE], const char* name) {
    size_t i = 0;
    for (; name[i] != '\0' && i + 1 < FACILITY_PATH_SIZE; ++i)
        upper[i] = static_cast<char>(toupper(static_cast<unsigned char>(name[i])));
    upper[i] = '\0';
}

#ifdef SKORVAN_TEST_HOOKS
FacilityDecodeFn g_facilityDecode = Facility_ReadBufferReport;
#define FACILITY_DECODE g_facilityDecode
#else
#define FACILITY_DECODE Facility_ReadBufferReport
#endif

// Who hears of damaged files, and the context they asked for; tools set
// them, the library never does.
static FacilityDamageFn g_damageCallback = nullptr;
static void* g_damageContext = nullptr;

void Facility_SetDamageCallback(FacilityDamageFn callback, void* context) {
    g_damageCallback = callback;
    g_damageContext = context;
}

// Tells the damage callback that path could not be read at all.
static void ReportUnreadable(const char* path) {
    if (g_damageCallback == nullptr)
        return;
    const FacilityReadReport report = {FACILITY_DAMAGE_UNREADABLE, 0};
    g_damageCallback(path, &report, g_damageContext);
}

// A path that did not fit FACILITY_PATH_SIZE, joined on the heap so the
// report names it whole; the folder alone when even that block is missing.
static void ReportOverlong(const char* folder, const char* name) {
    if (g_damageCallback == nullptr)
        return;
    const size_t folderLength = strlen(folder), nameLength = strlen(name);
    char* path = static_cast<char*>(malloc(folderLength + nameLength + 2));
    if (path == nullptr) {
        ReportUnreadable(folder);
        return;
    }
    snprintf(path, folderLength + nameLength + 2, "%s%c%s", folder, FACILITY_PATH_SEPARATOR, name);
    ReportUnreadable(path);
    free(path);
}

int32_t Facility_ReadFile(FacilityDatabase* database, const char* folder, const char* name) {
    char path[FACILITY_PATH_SIZE];
    if (!JoinPath(path, folder, name)) {
        ReportOverlong(folder, name);
        return 1;
    }
    // Read once; every section is decoded from the same bytes.
    uint8_t* data = nullptr;
    size_t size = 0;
    if (!FacilityFile_ReadAll(path, &data, &size)) {
        ReportUnreadable(path);
        return 1;
    }
    FacilityReadReport report;
    FACILITY_DECODE(database, data, size, &report);
    free(data);
    if (report.damage != 0 && g_damageCallback != nullptr)
        g_damageCallback(path, &report, g_damageContext);
    return 1;
}

int32_t Facility_ScanNavFolder(FacilityDatabase* database, const char* folder) {
    FacilityDirSearch* search = FacilityDir_Open(folder);
    if (search == nullptr)
        return 1;
    FacilityDirEntry entry;
    while (FacilityDir_Next(search, &entry)) {
        char upper[FACILITY_PATH_SIZE];
        UpperCaseCopy(upper, entry.name);
        if (entry.isDirectory) {
            char sub[FACILITY_PATH_SIZE];
            if (strcmp(upper, ".") == 0 || strcmp(upper, "..") == 0)
                continue;
            if (JoinPath(sub, folder, entry.name))
                Facility_ScanNavFolder(database, sub);
            else
                ReportOverlong(folder, entry.name);
        } else if (strstr(upper, ".BGL") != nullptr &&
                   (strstr(upper, "VOR") != nullptr || strstr(upper, "NDB") != nullptr)) {
            // Names are tested upper-cased but opened as delivered: the same
            // file on Windows, the only way to it where names keep their case.
            Facility_ReadFile(database, folder, entry.name);
        }
    }
    FacilityDir_Close(search);
    return 1;
}

int32_t Facility_ScanFlatFolder(FacilityDatabase* database, const char* folder) {
    FacilityDirSearch* search = FacilityDir_Open(folder);
    if (search == nullptr)
        return 1;
    FacilityDirEntry entry;
    while (FacilityDir_Next(search, &entry)) {
        if (!entry.isDirectory)
            Facility_ReadFile(database, folder, entry.name);
    }
    FacilityDir_Close(search);
    return 1;
}

int32_t Facility_LoadDatabase(FacilityDatabase* database) {
    if (database->facilities == nullptr)
        database->facilities = List_Create(Facility_ReleaseRecord);
    static const char* const NAV_FOLDERS[] = {"SCENEDB%cEASTHEM", "SCENEDB%cWESTHEM"};
    char tail[64], folder[FACILITY_PATH_SIZE];
    const char sep = FACILITY_PATH_SEPARATOR;
    for (const char* format : NAV_FOLDERS) {
        snprintf(tail, sizeof tail, format, sep);
        if (JoinPath(folder, database->sceneryRoot, tail))
            Facility_ScanNavFolder(database, folder);
        else
            ReportOverlong(database->sceneryRoot, tail);
    }
    snprintf(tail, sizeof tail, "SCENEDB%cAFDFILES%cSCENERY", sep, sep);
    if (JoinPath(folder, database->sceneryRoot, tail))
        Facility_ScanFlatFolder(database, folder);
    else
        ReportOverlong(database->sceneryRoot, tail);
    database->loaded = 1;
    return 1;
}

// Whole degrees toward zero; angles no 32-bit integer holds give 0.
static int32_t WholeDegrees(double radians) {
    const double degrees = radians * RAD_TO_DEG;
    if (!(fabs(degrees) < 2147483648.0))
        return 0;
    return static_cast<int32_t>(degrees);
}

// lon - cell in whole degrees, taken modulo 360 into -180..179, so that the
// window reaches across the 180° meridian. In 32 bits: a 64-bit remainder
// is a libgcc call on i686.
static int32_t LongitudeDifference(int32_t lon, int32_t cell) {
    // Each remainder lies within ±359, their difference within ±718: a
    // second remainder brings it to ±359, which one turn then centres.
    int32_t d = (lon % 360 - cell % 360) % 360;
    if (d < -180)
        d += 360;
    else if (d >= 180)
        d -= 360;
    return d;
}

int32_t Facility_UpdateNearList(FacilityDatabase* database, const GeoPosition* position) {
    const int32_t cellLat = WholeDegrees(position->latitude);
    const int32_t cellLon = WholeDegrees(position->longitude);
    if (database->facilities == nullptr || database->loaded == 0)
        return 0;
    // A zeroed database stores cell (0, 0) with no list yet: build one then.
    if (database->nearFacilities != nullptr && cellLat == database->nearCellLatitude &&
        cellLon == database->nearCellLongitude)
        return 1;
    if (database->nearFacilities != nullptr)
        List_Destroy(database->nearFacilities);
    database->nearFacilities = List_Create(nullptr);
    if (database->nearFacilities == nullptr)
        return 0;
    List_SetBorrowed(database->nearFacilities, 1);
    database->nearCellLatitude = cellLat;
    database->nearCellLongitude = cellLon;
    for (const ListNode* node = database->facilities->head; node != nullptr; node = node->next) {
        const FacilityRecord* record = static_cast<const FacilityRecord*>(node->item);
        const int64_t dLat =
            static_cast<int64_t>(WholeDegrees(record->position.latitude)) - cellLat;
        const int32_t dLon = LongitudeDifference(WholeDegrees(record->position.longitude), cellLon);
        if (dLat >= -5 && dLat <= 6 && dLon >= -5 && dLon <= 6)
            List_Append(database->nearFacilities, node->item);
    }
    return 1;
}

void Facility_FreeDatabase(FacilityDatabase* database) {
    if (database->nearFacilities != nullptr)
        List_Destroy(database->nearFacilities);
    if (database->facilities != nullptr)
        List_Destroy(database->facilities);
    database->nearFacilities = database->facilities = nullptr;
    database->nearCellLatitude = database->nearCellLongitude = 0;
    database->loaded = 0;
}
