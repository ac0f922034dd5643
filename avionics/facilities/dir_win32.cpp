// avionics/facilities/dir_win32.cpp
// Directory search with FindFirstFileA over "folder\*.*".
#include "dir.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

const char FACILITY_PATH_SEPARATOR = '\\';

struct FacilityDirSearch {
    HANDLE handle;
    WIN32_FIND_DATAA data;
    bool pending; // data holds an entry not yet handed out
};

FacilityDirSearch* FacilityDir_Open(const char* folder) {
    char pattern[FACILITY_PATH_SIZE];
    const int n = snprintf(pattern, sizeof pattern, "%s\\*.*", folder);
    if (n < 0 || n >= static_cast<int>(sizeof pattern))
        return nullptr; // would not fit: never searched
    FacilityDirSearch* search = new FacilityDirSearch;
    search->handle = FindFirstFileA(pattern, &search->data);
    if (search->handle == INVALID_HANDLE_VALUE) {
        delete search;
        return nullptr;
    }
    search->pending = true;
    return search;
}

int FacilityDir_Next(FacilityDirSearch* search, FacilityDirEntry* entry) {
    if (!search->pending && !FindNextFileA(search->handle, &search->data))
        return 0;
    search->pending = false;
    snprintf(entry->name, sizeof entry->name, "%s", search->data.cFileName);
    entry->isDirectory = (search->data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return 1;
}

void FacilityDir_Close(FacilityDirSearch* search) {
    FindClose(search->handle);
    delete search;
}
