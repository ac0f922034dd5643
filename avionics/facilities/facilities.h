/* avionics/facilities/facilities.h
 * Navigation facilities from the simulator's scenery files: the records
 * (VOR, NDB, airports with runways and approach aids), the reader of the
 * facility sections of a ".BGL" file, and the database that walks the
 * scenery folders and keeps the facilities near the aircraft. The reader
 * checks every read against the file's size: damaged files are read as far
 * as they make sense, never beyond their end. Usable from C and C++.
 *
 * Conventions: the int32_t functions return 1 when they did their work
 * and 0 when they could not (memory short, not loaded yet); a damaged or
 * unreadable file is not a failure (its report or the damage callback says
 * what was damaged). The database is a caller-owned record that owns the
 * lists and records it fills; Facility_FreeDatabase releases them. No
 * exception or longjmp leaves these functions. One thread at a time per
 * database. */
#ifndef SKORVAN_FACILITIES_H
#define SKORVAN_FACILITIES_H

#include <stddef.h>
#include <stdint.h>

#include "geo.h"
#include "list.h"

#ifdef __cplusplus
extern "C" {
#endif

enum { FACILITY_NDB = 1, FACILITY_VOR = 2, FACILITY_AIRPORT = 5 };
enum { FACILITY_PATH_SIZE = 260, FACILITY_IDENT_SIZE = 8 };

typedef struct RunwayEnd {
    char ident[FACILITY_IDENT_SIZE];    /* "09L" */
    GeoPosition threshold;              /* half the length behind this end's heading; altitude 0 */
    float heading;                      /* degrees */
    float length;                       /* metres */
    char aidIdent[FACILITY_IDENT_SIZE]; /* approach aid, empty if none */
    GeoPosition aidPosition;
    float aidCourse;    /* degrees */
    float aidFrequency; /* MHz */
} RunwayEnd;

typedef struct RunwayRecord {
    char ident[FACILITY_IDENT_SIZE]; /* designator of the primary end */
    GeoPosition centre;              /* altitude 0 */
    float heading;                   /* degrees, 0 to 360 as stored */
    float length;                    /* metres */
    float width;                     /* metres */
    RunwayEnd primaryEnd;
    RunwayEnd oppositeEnd;
} RunwayRecord;

typedef struct FacilityRecord {
    int32_t kind; /* FACILITY_NDB, FACILITY_VOR or FACILITY_AIRPORT */
    char ident[FACILITY_IDENT_SIZE];
    GeoPosition position;  /* radians; feet for VOR and NDB, 0 for airports */
    float frequency;       /* VOR: MHz; else 0 */
    int32_t runwayCount;   /* airport: entries in runways */
    int32_t entryCode;     /* VOR: byte 4 of its entry, sign-extended */
    RunwayRecord* runways; /* airport: owned by the record; none while runwayCount is 0 */
} FacilityRecord;

typedef struct FacilityDatabase {
    ObjectList* facilities;     /* every record loaded; owning */
    ObjectList* nearFacilities; /* records near the last position; borrowed from facilities */
    int32_t nearCellLatitude;   /* whole degrees the near list was built for */
    int32_t nearCellLongitude;
    int32_t loaded;                       /* 1 once Facility_LoadDatabase has run */
    char sceneryRoot[FACILITY_PATH_SIZE]; /* the simulator's folder, no trailing separator */
} FacilityDatabase;

/* The separator between folder and name on this platform: '\\' or '/'. */
extern const char FACILITY_PATH_SEPARATOR;

/* Reads the facility sections of folder<separator>name and appends a
 * record per VOR, NDB and airport to database->facilities (created if
 * none). Returns 1, also when the file cannot be read. */
int32_t Facility_ReadFile(FacilityDatabase* database, const char* folder, const char* name);
/* The same for a file already in memory. */
int32_t Facility_ReadBuffer(FacilityDatabase* database, const uint8_t* data, size_t size);

/* What a read found damaged; nothing is reported for files that are whole. */
enum {
    FACILITY_DAMAGE_HEADER = 1, /* shorter than its 168-byte header: nothing read */
    /* The section ran off the data and was cut short, or a pointer in it led
     * to a run, chain or sub-record list already read in this file (each is
     * read once, so that a file yields at most one record per entry it holds). */
    FACILITY_DAMAGE_VOR = 2,
    FACILITY_DAMAGE_NDB = 4,
    FACILITY_DAMAGE_AIRPORT = 8
};
typedef struct FacilityReadReport {
    int32_t damage;  /* FACILITY_DAMAGE_ bits */
    int32_t records; /* records appended */
} FacilityReadReport;
int32_t Facility_ReadBufferReport(FacilityDatabase* database, const uint8_t* data, size_t size,
                                  FacilityReadReport* report);
/* Called by Facility_ReadFile for each file read with damage, with the
 * context given to Facility_SetDamageCallback; none by default. One callback
 * for the whole process (every database and thread). */
typedef void (*FacilityDamageFn)(const char* path, const FacilityReadReport* report, void* context);
void Facility_SetDamageCallback(FacilityDamageFn callback, void* context);
/* A packed 8-byte nav-aid position: radians, radians, feet. */
GeoPosition Facility_DecodePosition(const uint8_t packed[8]);
/* MHz from BCD words: integer 0x0110 with fraction 0x3500 is 110.35. */
double Facility_DecodeBcdFrequency(uint32_t integerWord, uint32_t fractionWord);
/* Appends a copy of runway to the airport's runways, an array of exactly
 * runwayCount records from the standard heap (or null while none), which it
 * reallocates one larger. 1, or 0 when memory is short. */
int32_t Facility_AddRunway(FacilityRecord* airport, const RunwayRecord* runway);
/* Release callback for an owning list: frees an airport's runways, then the record. */
void Facility_ReleaseRecord(void* record);

/* Reads SCENEDB/EASTHEM and SCENEDB/WESTHEM (VOR and NDB files, with
 * subfolders) and every file directly in SCENEDB/AFDFILES/SCENERY below
 * sceneryRoot; sets loaded. Returns 1. */
int32_t Facility_LoadDatabase(FacilityDatabase* database);
int32_t Facility_ScanNavFolder(FacilityDatabase* database, const char* folder);
int32_t Facility_ScanFlatFolder(FacilityDatabase* database, const char* folder);
/* Rebuilds the near list when the position (radians) enters another
 * whole-degree cell: facilities 5 degrees below to 6 above it. 1 when the
 * near list is current, 0 before loading. */
int32_t Facility_UpdateNearList(FacilityDatabase* database, const GeoPosition* position);
/* Destroys both lists (records and runways released) and clears loaded. */
void Facility_FreeDatabase(FacilityDatabase* database);

#ifdef __cplusplus
}
#endif

#endif
