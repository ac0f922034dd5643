// avionics/facilities/dir_posix.cpp
// Directory search with opendir and readdir; "." and ".." are delivered too,
// as the Windows search delivers them.
#include "dir.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

const char FACILITY_PATH_SEPARATOR = '/';

struct FacilityDirSearch {
    DIR* dir;
    std::string folder;
};

FacilityDirSearch* FacilityDir_Open(const char* folder) {
    DIR* dir = opendir(folder);
    if (dir == nullptr)
        return nullptr;
    return new FacilityDirSearch{dir, folder};
}

int FacilityDir_Next(FacilityDirSearch* search, FacilityDirEntry* entry) {
    const dirent* found = readdir(search->dir);
    if (found == nullptr)
        return 0;
    snprintf(entry->name, sizeof entry->name, "%s", found->d_name);
    if (found->d_type != DT_UNKNOWN && found->d_type != DT_LNK) {
        entry->isDirectory = found->d_type == DT_DIR;
    } else {
        struct stat info;
        const std::string path = search->folder + "/" + found->d_name;
        entry->isDirectory = stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }
    return 1;
}

void FacilityDir_Close(FacilityDirSearch* search) {
    closedir(search->dir);
    delete search;
}
