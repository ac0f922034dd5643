// avionics/facilities/dir_win32.cpp
// Directory search with FindFirstFileA over "folder\*.*", and whole files
// with CreateFileA, GetFileSizeEx and ReadFile. The seam is called from C
// functions: it allocates with malloc and reports failure by its result,
// never by an exception.
#include "dir.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
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
    FacilityDirSearch* search = static_cast<FacilityDirSearch*>(malloc(sizeof(FacilityDirSearch)));
    if (search == nullptr)
        return nullptr;
    search->handle = FindFirstFileA(pattern, &search->data);
    if (search->handle == INVALID_HANDLE_VALUE) {
        free(search);
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
    // A junction or a symbolic link to a folder is not walked into: it could
    // lead back up the tree.
    const DWORD attributes = search->data.dwFileAttributes;
    entry->isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                         (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    return 1;
}

void FacilityDir_Close(FacilityDirSearch* search) {
    FindClose(search->handle);
    free(search);
}

int FacilityFile_ReadAll(const char* path, uint8_t** data, size_t* size) {
    *data = nullptr;
    *size = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    LARGE_INTEGER length;
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &length) ||
        length.QuadPart < 0 || static_cast<unsigned long long>(length.QuadPart) > 0x7FFFFFFFull) {
        CloseHandle(file);
        return 0;
    }
    const DWORD want = static_cast<DWORD>(length.QuadPart);
    uint8_t* bytes = want ? static_cast<uint8_t*>(malloc(want)) : nullptr;
    DWORD got = 0;
    // A failed read is no empty file: the caller reports it as unreadable.
    const BOOL read = bytes == nullptr || ReadFile(file, bytes, want, &got, nullptr);
    CloseHandle(file);
    if ((want && bytes == nullptr) || !read) { // too large to hold, or an I/O error
        free(bytes);
        return 0;
    }
    *data = bytes;
    *size = got;
    return 1;
}
