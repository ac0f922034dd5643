/**
 * @file facilities.h
 * @brief Navigation facilities from the simulator's scenery files: the
 * records, the reader of a ".BGL" file's facility sections, and the
 * database that walks the scenery folders and keeps the facilities near
 * the aircraft.
 *
 * The records describe VOR and NDB beacons and airports with their runways
 * and approach aids. The reader checks every read against the file's size:
 * damaged files are read as far as they make sense, never beyond their end,
 * and what was cut short is reported (FacilityReadReport, the damage
 * callback). The moving map (map.h) draws the database's near list.
 *
 * Units: positions in radians (GeoPosition, geo.h); VOR and NDB altitudes
 * in feet; headings, courses and bearings in degrees; runway lengths and
 * widths in metres; frequencies in MHz.
 *
 * Threads: the library takes no locks. A database is used by one thread at
 * a time: loading is a long, blocking walk of the disk, and the thread
 * that loads must not overlap with another that updates or draws the near
 * list (Map_Draw reads it); callers that share a database serialise these
 * calls themselves. Facility_DecodePosition and Facility_DecodeBcdFrequency
 * are pure and safe on any thread. The damage callback is one for the whole
 * process (see Facility_SetDamageCallback).
 *
 * Ownership: a FacilityDatabase is a caller-owned record (see its set-up
 * there). It owns the lists and records the library fills in it, until
 * Facility_FreeDatabase releases them; records and runway arrays come from
 * the standard heap (malloc). Pointers passed in are only borrowed for the
 * call and must not be null unless a function says so.
 *
 * Paths: folder and file paths are ANSI strings (on Windows in the
 * process's ANSI code page, handed to the platform's "A" functions;
 * elsewhere bytes as given) and are limited to 260 characters including the
 * terminating NUL (FACILITY_PATH_SIZE): a folder or file whose path would
 * be longer is skipped, never truncated, and reported to the damage
 * callback as unreadable.
 *
 * Errors: the int32_t functions return 1 when they did their work and 0
 * when they could not (memory short, not loaded yet). A damaged or
 * unreadable file, or a missing folder, is not a failure: it adds what it
 * can, nothing at worst. Nothing is printed, and no exception or longjmp
 * leaves these functions. Usable from C (C89 and later) and C++.
 */
#ifndef SKORVAN_FACILITIES_H
#define SKORVAN_FACILITIES_H

#include <stddef.h>
#include <stdint.h>

#include "geo.h"
#include "list.h"

#ifdef __cplusplus
extern "C" {
#endif

/** Facility kinds: the values of FacilityRecord::kind. */
enum {
    FACILITY_NDB = 1,    /**< A non-directional beacon (NDB). */
    FACILITY_VOR = 2,    /**< A VHF omnidirectional range (VOR). */
    FACILITY_AIRPORT = 5 /**< An airport, with runways and approach aids. */
};

/** Sizes of the records' text fields and path buffers. */
enum {
    /** Bytes of every path buffer, the terminating NUL included: a path
     *  holds at most 259 characters. */
    FACILITY_PATH_SIZE = 260,
    /** Bytes of an identifier field, the terminating NUL included. */
    FACILITY_IDENT_SIZE = 8
};

/** One end of a runway, as the reader fills it from the file. Part of a
 *  RunwayRecord; it owns nothing. */
typedef struct RunwayEnd {
    /** Designator of this end, NUL-terminated: the runway number as two
     *  digits and a side letter L, R or C if any ("09L", "27R", "36"). */
    char ident[FACILITY_IDENT_SIZE];
    /** Threshold: the point half the runway's length from its centre, behind
     *  this end's heading (radians; longitude in [-2 pi, 0); altitude 0). */
    GeoPosition threshold;
    /** True heading of this end (degrees): the runway's (0 to 360) for the
     *  primary end; for the opposite end that plus 180, less 360 when above
     *  360, so in (0, 360] (a runway heading 180 gives 360, not 0). */
    float heading;
    float length; /**< The runway's length (metres). */
    /** Identifier of the approach aid serving this end, up to 4 characters,
     *  NUL-terminated; empty when the end has none (then the three aid
     *  fields below are 0). */
    char aidIdent[FACILITY_IDENT_SIZE];
    GeoPosition aidPosition; /**< The approach aid's position (radians; altitude 0). */
    float aidCourse;         /**< The approach aid's course (degrees, 0 to 360). */
    float aidFrequency;      /**< The approach aid's frequency (MHz, such as 110.35). */
} RunwayEnd;

/** A runway of an airport, one element of FacilityRecord::runways. Only
 *  runways longer than 1640.42 feet (500 m) are kept. It owns nothing. */
typedef struct RunwayRecord {
    /** Designator of the primary end, NUL-terminated (as RunwayEnd::ident). */
    char ident[FACILITY_IDENT_SIZE];
    GeoPosition centre;    /**< The runway's centre (radians; altitude 0). */
    float heading;         /**< True heading of the primary end (degrees, 0 to 360 as stored). */
    float length;          /**< Length (metres). */
    float width;           /**< Width (metres). */
    RunwayEnd primaryEnd;  /**< The end whose designator is the runway's number. */
    RunwayEnd oppositeEnd; /**< The reciprocal end (number + 18, sides L and R swapped). */
} RunwayRecord;

/** One facility: a VOR, an NDB or an airport. The reader makes each record
 *  as one zero-filled heap block and appends it to
 *  FacilityDatabase::facilities, which owns it from then on; release one
 *  yourself only with Facility_ReleaseRecord. */
typedef struct FacilityRecord {
    int32_t kind; /**< FACILITY_NDB, FACILITY_VOR or FACILITY_AIRPORT. */
    /** Identifier, NUL-terminated: up to 5 characters for a VOR or NDB, up
     *  to 4 for an airport. */
    char ident[FACILITY_IDENT_SIZE];
    /** Latitude and longitude (radians, longitude in [-pi, pi)); altitude in
     *  feet for a VOR or NDB, 0 for an airport. */
    GeoPosition position;
    float frequency;     /**< A VOR's frequency (MHz, 108.00 up); 0 for other kinds. */
    int32_t runwayCount; /**< An airport's number of runways (0 or more); 0 for other kinds. */
    /** A VOR's entry code: byte 4 of its file entry, sign-extended (-128 to
     *  127), kept but not interpreted; 0 for other kinds. */
    int32_t entryCode;
    /** An airport's runways: an array of exactly runwayCount records from
     *  the standard heap, owned by this record (Facility_ReleaseRecord frees
     *  it); null while runwayCount is 0 and for other kinds. */
    RunwayRecord* runways;
} FacilityRecord;

/** The facility database: every facility loaded and those near the last
 *  position given. The caller owns the record itself (static, automatic or
 *  heap); the library owns the lists it creates in it.
 *
 *  Setting one up: zero the whole record (<tt>FacilityDatabase db = {0};</tt>
 *  in C, <tt>= {}</tt> in C++, or memset), then copy the simulator's folder
 *  into sceneryRoot. Set nothing else: the library creates both lists, sets
 *  loaded and keeps the near cell. Then call Facility_LoadDatabase once,
 *  Facility_UpdateNearList with each new position, and Facility_FreeDatabase
 *  when done. Never copy a loaded database by value: both copies would own
 *  the same lists. */
typedef struct FacilityDatabase {
    /** Every record loaded, in load order: an owning list whose release
     *  callback is Facility_ReleaseRecord. Null until the first record is
     *  read or Facility_LoadDatabase runs. Read it freely; do not add
     *  records other than with the reader or remove them. */
    ObjectList* facilities;
    /** The records near the last position given to Facility_UpdateNearList,
     *  in the order of facilities: a borrowing list (its items belong to
     *  facilities). Null until the first update. */
    ObjectList* nearFacilities;
    /** Whole degrees of latitude (truncated toward zero) of the position the
     *  near list was built for; 0 in a zeroed database. */
    int32_t nearCellLatitude;
    /** Whole degrees of longitude (truncated toward zero) of the position the
     *  near list was built for; 0 in a zeroed database. */
    int32_t nearCellLongitude;
    /** 1 once Facility_LoadDatabase has run, 0 before and after
     *  Facility_FreeDatabase. */
    int32_t loaded;
    /** The simulator's installation folder, NUL-terminated, without a
     *  trailing separator, ANSI, at most 259 characters; the caller sets it
     *  before Facility_LoadDatabase, the library never writes it. */
    char sceneryRoot[FACILITY_PATH_SIZE];
} FacilityDatabase;

/** The separator the library puts between folder and name: '\\' on
 *  Windows, '/' elsewhere. */
extern const char FACILITY_PATH_SEPARATOR;

/** Reads one scenery file and appends a record per VOR, NDB and airport it
 *  holds, in file order (VOR section, NDB section, airports), to
 *  database->facilities, which is created if none exists. The file is read
 *  whole into memory once. A damaged file adds what can be read and is
 *  reported to the damage callback, if one is set; so is a file that
 *  cannot be read (FACILITY_DAMAGE_UNREADABLE), with its full path.
 *  @param database the database to add to; loaded is not changed.
 *  @param folder the folder (ANSI, no trailing separator).
 *  @param name the file's name within folder; the path is folder,
 *         FACILITY_PATH_SEPARATOR and name.
 *  @return 1, also when the file cannot be opened or read or its path
 *          would exceed 259 characters (nothing is added then). */
int32_t Facility_ReadFile(FacilityDatabase* database, const char* folder, const char* name);
/** Facility_ReadFile for a file already in memory (no damage callback).
 *  @param database the database to add to (facilities created if none).
 *  @param data the file's bytes; only read during the call, may be null
 *         when size is 0.
 *  @param size the number of bytes at data.
 *  @return 1, whatever the bytes hold. */
int32_t Facility_ReadBuffer(FacilityDatabase* database, const uint8_t* data, size_t size);

/** What a read found damaged (bits of FacilityReadReport::damage); nothing
 *  is reported for files that are whole. */
enum {
    /** The data is shorter than its 168-byte header: nothing was read. */
    FACILITY_DAMAGE_HEADER = 1,
    /** The VOR section ran off the data and was cut short, or a pointer in it
     *  led to a run, chain or sub-record list already read in this file (each
     *  is read once, so that a file yields at most one record per entry it
     *  holds). */
    FACILITY_DAMAGE_VOR = 2,
    /** The NDB section was cut short, as for FACILITY_DAMAGE_VOR. */
    FACILITY_DAMAGE_NDB = 4,
    /** The airport section was cut short, as for FACILITY_DAMAGE_VOR. */
    FACILITY_DAMAGE_AIRPORT = 8,
    /** The file could not be read at all: it could not be opened (no
     *  permission), is not a regular file (a pipe, a device), a read of it
     *  failed, or its path, or its folder's, does not fit FACILITY_PATH_SIZE
     *  (then the folder is reported and nothing below it is read). Nothing
     *  was read. */
    FACILITY_DAMAGE_UNREADABLE = 16
};
/** The outcome of reading one file. */
typedef struct FacilityReadReport {
    int32_t damage;  /**< FACILITY_DAMAGE_ bits; 0 for a whole file. */
    int32_t records; /**< Records appended to the facility list by this read (0 or more). */
} FacilityReadReport;
/** Facility_ReadBuffer that also says what it found damaged. When memory
 *  runs short, records that cannot be made or listed are left out; when the
 *  read's own bookkeeping cannot be allocated, nothing is read and all
 *  three section bits are set.
 *  @param database the database to add to (facilities created if none).
 *  @param data the file's bytes (may be null when size is 0).
 *  @param size the number of bytes at data.
 *  @param report where to write the outcome, or null.
 *  @return 1, whatever the bytes hold. */
int32_t Facility_ReadBufferReport(FacilityDatabase* database, const uint8_t* data, size_t size,
                                  FacilityReadReport* report);
/** What Facility_ReadFile calls for each file it read with damage or could
 *  not read, and the folder walks for each folder whose path is too long.
 *  @param path the file's path (ANSI), valid during the call only.
 *  @param report what was damaged and how many records were still read;
 *         valid during the call only.
 *  @param context the pointer given to Facility_SetDamageCallback. */
typedef void (*FacilityDamageFn)(const char* path, const FacilityReadReport* report, void* context);
/** Sets the damage callback, or clears it with a null callback (the
 *  default). There is one callback for the whole process, shared by every
 *  database and thread: it is a plain pair of globals without a lock, so set
 *  it while no thread is reading files, and clear it before context goes
 *  away. The callback runs on the thread that calls Facility_ReadFile (or
 *  Facility_LoadDatabase and the folder walks).
 *  @param callback the function to call, or null for none.
 *  @param context passed to every call of callback; the library never reads
 *         it. */
void Facility_SetDamageCallback(FacilityDamageFn callback, void* context);
/** Decodes a packed 8-byte nav-aid position: a 23-bit latitude magnitude
 *  with a fold flag (latitude = 150 degrees less the value when it is set),
 *  a signed 24-bit fraction of a turn for the longitude, and a signed 16-bit
 *  altitude in metres, all little-endian. Pure; any thread.
 *  @param packed the 8 bytes.
 *  @return latitude and longitude in radians (longitude in [-pi, pi)),
 *          altitude in feet. */
GeoPosition Facility_DecodePosition(const uint8_t packed[8]);
/** Decodes a frequency from two BCD words: hundreds, tens and units in bits
 *  8-11, 4-7 and 0-3 of integerWord; tenths, hundredths and thousandths in
 *  bits 12-15, 8-11 and 4-7 of fractionWord (other bits ignored). 0x0110
 *  with 0x3500 is 110.35. Pure; any thread.
 *  @param integerWord the integer digits.
 *  @param fractionWord the fraction digits.
 *  @return the frequency (MHz, 0 to 999.999). */
double Facility_DecodeBcdFrequency(uint32_t integerWord, uint32_t fractionWord);
/** Appends a copy of runway to an airport's runways: the array (exactly
 *  runwayCount records from the standard heap, or null while there are
 *  none) is reallocated one record larger and runwayCount grows by one.
 *  @param airport the airport record; its array may move.
 *  @param runway the runway to copy; only read.
 *  @return 1, or 0 (airport unchanged) when memory is short or runwayCount
 *          is negative or already INT32_MAX. */
int32_t Facility_AddRunway(FacilityRecord* airport, const RunwayRecord* runway);
/** Releases a record from the standard heap: an airport's runways array,
 *  then the record. The release callback of the database's facility list;
 *  use it for any owning list of FacilityRecord items.
 *  @param record a FacilityRecord, or null (nothing happens). */
void Facility_ReleaseRecord(void* record);

/** Loads the scenery below sceneryRoot: the VOR and NDB files of
 *  SCENEDB/EASTHEM and then SCENEDB/WESTHEM with their subfolders
 *  (Facility_ScanNavFolder), then every file directly in
 *  SCENEDB/AFDFILES/SCENERY (Facility_ScanFlatFolder), appending their
 *  records to database->facilities (created if none); sets loaded. The list
 *  is not cleared first: loading twice adds every record twice. A missing
 *  folder adds nothing. Blocks until the whole walk is done.
 *  @param database a database set up as FacilityDatabase describes.
 *  @return 1. */
int32_t Facility_LoadDatabase(FacilityDatabase* database);
/** Walks a folder and its subfolders depth first and reads every file whose
 *  name, upper-cased, contains ".BGL" and either "VOR" or "NDB". Links to
 *  folders are not followed.
 *  @param database the database to add to.
 *  @param folder the folder (ANSI, no trailing separator).
 *  @return 1, also when the folder cannot be searched. */
int32_t Facility_ScanNavFolder(FacilityDatabase* database, const char* folder);
/** Reads every file directly in a folder, whatever its name; subfolders are
 *  not entered.
 *  @param database the database to add to.
 *  @param folder the folder (ANSI, no trailing separator).
 *  @return 1, also when the folder cannot be searched. */
int32_t Facility_ScanFlatFolder(FacilityDatabase* database, const char* folder);
/** Keeps the near list current for a position. The position's cell is its
 *  whole degrees of latitude and longitude, truncated toward zero. When no
 *  near list exists yet, or the cell differs from the stored one, the list
 *  is rebuilt: every facility whose own whole degrees lie from 5 below to 6
 *  above the cell's, in latitude and in longitude (longitudes compared
 *  modulo 360, so the window reaches across the 180-degree meridian), in the
 *  order of facilities. Records loaded after a build join at the next one.
 *  @param database a loaded database.
 *  @param position the aircraft's position (radians); its altitude is not
 *         read.
 *  @return 1 when the near list is current; 0 when the database is not
 *          loaded or has no facility list, or the new list could not be
 *          allocated (then nearFacilities is null and the next call tries
 *          again). */
int32_t Facility_UpdateNearList(FacilityDatabase* database, const GeoPosition* position);
/** Destroys both lists, releasing every record and runway array, and
 *  returns the database to its zeroed state with sceneryRoot kept, so that
 *  it can be loaded again. Pointers to its records are no longer valid.
 *  @param database the database; one without lists is only reset. */
void Facility_FreeDatabase(FacilityDatabase* database);

#ifdef __cplusplus
}
#endif

#endif
