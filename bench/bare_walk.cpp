// bench/bare_walk.cpp
// The bare walk: nothing but the system calls any walk over these folders
// needs, into one buffer kept from file to file. The names are tested as
// the loader tests them, which costs a few comparisons per name.
#include "bare_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

size_t BareRead(const char* path, BareBuffer* buffer) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    struct stat info;
    size_t got = 0;
    if (fstat(fd, &info) == 0) {
        const size_t length = static_cast<size_t>(info.st_size);
        if (length > buffer->capacity) {
            void* grown = realloc(buffer->bytes, length);
            if (grown != nullptr)
                buffer->bytes = static_cast<uint8_t*>(grown), buffer->capacity = length;
        }
        while (length <= buffer->capacity && got < length) {
            const ssize_t n = read(fd, buffer->bytes + got, length - got);
            if (n <= 0)
                break;
            got += static_cast<size_t>(n);
        }
    }
    close(fd);
    return got;
}

bool NavName(const char* name) {
    return strcasestr(name, ".bgl") != nullptr &&
           (strcasestr(name, "vor") != nullptr || strcasestr(name, "ndb") != nullptr);
}

// Walks path (length characters, with room for more after them); nav: the
// VOR and NDB folders (subfolders walked, names tested), else the flat one.
size_t Walk(char* path, size_t length, bool nav, BareBuffer* buffer) {
    DIR* dir = opendir(path);
    if (dir == nullptr)
        return 0;
    size_t bytes = 0;
    path[length] = '/';
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        const size_t n = strlen(name);
        memcpy(path + length + 1, name, n + 1);
        if (entry->d_type == DT_DIR) {
            if (nav)
                bytes += Walk(path, length + 1 + n, true, buffer);
        } else if (!nav || NavName(name)) {
            bytes += BareRead(path, buffer);
        }
    }
    path[length] = '\0';
    closedir(dir);
    return bytes;
}

} // namespace

size_t Bare_WalkTree(const char* root, BareBuffer* buffer) {
    static const char* const FOLDERS[] = {"/SCENEDB/EASTHEM", "/SCENEDB/WESTHEM",
                                          "/SCENEDB/AFDFILES/SCENERY"};
    size_t bytes = 0;
    for (const char* folder : FOLDERS) {
        char path[4096];
        const int n = snprintf(path, sizeof path, "%s%s", root, folder);
        if (n > 0 && static_cast<size_t>(n) < sizeof path - 512)
            bytes += Walk(path, static_cast<size_t>(n), folder != FOLDERS[2], buffer);
    }
    return bytes;
}

void Bare_Free(BareBuffer* buffer) {
    free(buffer->bytes);
    *buffer = BareBuffer{nullptr, 0};
}
