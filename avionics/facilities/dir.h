// avionics/facilities/dir.h
// The directory search the folder walks use, one small seam with a Windows
// and a POSIX side: entries one by one, each with its name and whether it
// is a folder. Private to this area.
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
