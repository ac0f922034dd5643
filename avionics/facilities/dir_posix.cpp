// avionics/facilities/dir_posix.cpp
// Directory search with opendir and readdir ("." and ".." are delivered
// too, as the Windows search delivers them), and whole files with open,
// fstat and read. The seam is called from C functions: it allocates with
// malloc and reports failure by its result, never by an exception.
#include "dir.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const char FACILITY_PATH_SEPARATOR = '/';

// The folder's path is kept with room after it for "/" and any entry's
// name, so that looking at an entry allocates nothing.
struct FacilityDirSearch {
    DIR* dir;
    size_t folderLength;
    char* path; // folder, then "/" and the entry's name; in the same block
};

enum { DIR_NAME_ROOM = sizeof(dirent::d_name) + 1 };

FacilityDirSearch* FacilityDir_Open(const char* folder) {
    const size_t folderLength = strlen(folder);
    FacilityDirSearch* search = static_cast<FacilityDirSearch*>(
        malloc(sizeof(FacilityDirSearch) + folderLength + DIR_NAME_ROOM));
    if (search == nullptr)
        return nullptr;
    search->dir = opendir(folder);
    if (search->dir == nullptr) {
        free(search);
        return nullptr;
    }
    search->folderLength = folderLength;
    search->path = reinterpret_cast<char*>(search + 1);
    memcpy(search->path, folder, folderLength + 1); // "folder/", names go after it
    search->path[folderLength] = '/';
    search->path[folderLength + 1] = '\0';
    return search;
}

int FacilityDir_Next(FacilityDirSearch* search, FacilityDirEntry* entry) {
    const dirent* found = readdir(search->dir);
    if (found == nullptr)
        return 0;
    // Copied by hand: snprintf's format parsing cost more than the rest of
    // the walk's own work on each entry.
    size_t length = strlen(found->d_name);
    if (length >= sizeof entry->name)
        length = sizeof entry->name - 1;
    memcpy(entry->name, found->d_name, length);
    entry->name[length] = '\0';
    // A link is never a folder to walk into: a link to ".." or "." would
    // make the walk endless or read everything again. A link to a file is
    // still read through.
    if (found->d_type != DT_UNKNOWN) {
        entry->isDirectory = found->d_type == DT_DIR;
    } else {
        struct stat info;
        snprintf(search->path + search->folderLength + 1, sizeof(dirent::d_name), "%s",
                 found->d_name);
        entry->isDirectory = lstat(search->path, &info) == 0 && S_ISDIR(info.st_mode);
    }
    return 1;
}

void FacilityDir_Close(FacilityDirSearch* search) {
    closedir(search->dir);
    free(search);
}

int FacilityFile_ReadAll(const char* path, uint8_t** data, size_t* size) {
    *data = nullptr;
    *size = 0;
    // Without O_NONBLOCK a pipe named like a scenery file would stop the
    // walk until something wrote to it; it is refused by fstat below.
    const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return 0;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        close(fd);
        return 0;
    }
    const size_t length = static_cast<size_t>(info.st_size);
    uint8_t* bytes = length ? static_cast<uint8_t*>(malloc(length)) : nullptr;
    size_t got = 0;
    int failed = length && bytes == nullptr; // too large to hold
    while (!failed && got < length) {        // a file that shrank meanwhile ends early
        const ssize_t n = read(fd, bytes + got, length - got);
        if (n < 0 && errno == EINTR)
            continue;
        failed = n < 0; // an I/O error is no short file
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    if (failed) {
        free(bytes);
        return 0;
    }
    *data = bytes;
    *size = got;
    return 1;
}
