// avionics/facilities/dir.h
// The file system as the folder walks use it, one small seam with a Windows
// and a POSIX side: directory entries one by one, each with its name and
// whether it is a folder, and a whole file read at once. Private to this
// area.
#pragma once

#include "facilities.h"

struct FacilityDirSearch;

struct FacilityDirEntry {
    char name[FACILITY_PATH_SIZE];
    int isDirectory;
};

// Starts a search of every entry in folder; null when it cannot start.
FacilityDirSearch* FacilityDir_Open(const char* folder);
// The next entry (the first on the first call); 0 when there are no more.
int FacilityDir_Next(FacilityDirSearch* search, FacilityDirEntry* entry);
void FacilityDir_Close(FacilityDirSearch* search);

// Reads the whole file with one open, one size query and one read (the
// cheapest the platform offers): 1 with *data (from malloc, the caller's
// to free; null for an empty file) and *size, 0 when it cannot be read.
int FacilityFile_ReadAll(const char* path, uint8_t** data, size_t* size);

#ifdef SKORVAN_TEST_HOOKS
// What Facility_ReadFile does with a file's bytes: Facility_ReadBufferReport.
// The loading benchmark's floor puts a function here that decodes nothing,
// so that it walks and reads exactly as the loader does. Only in the test
// build of this area's objects (skorvan_test_hooks), never in the library.
typedef int32_t (*FacilityDecodeFn)(FacilityDatabase* database, const uint8_t* data, size_t size,
                                    FacilityReadReport* report);
extern FacilityDecodeFn g_facilityDecode;
#endif
