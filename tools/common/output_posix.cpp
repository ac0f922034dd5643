// tools/common/output_posix.cpp
// The file-system calls behind the safe outputs on POSIX systems.
#include "output.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Folder(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string LastPart(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool OutputPlatform_Identify(const std::string& path, OutputFileId* id) {
    *id = OutputFileId();
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
        id->exists = true;
        id->regular = S_ISREG(st.st_mode);
        id->device = static_cast<unsigned long long>(st.st_dev);
        id->inode = static_cast<unsigned long long>(st.st_ino);
        return true;
    }
    const std::string resolved = OutputPlatform_Resolve(path);
    if (stat(Folder(resolved).c_str(), &st) != 0)
        return false;
    id->regular = true; // a new file will be a regular one
    id->device = static_cast<unsigned long long>(st.st_dev);
    id->inode = static_cast<unsigned long long>(st.st_ino);
    id->name = LastPart(resolved);
    return true;
}

std::string OutputPlatform_Resolve(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) { // as many as the kernel follows
        struct stat st;
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        char target[PATH_MAX];
        const ssize_t n = readlink(current.c_str(), target, sizeof target - 1);
        if (n < 0)
            return current;
        const std::string link(target, static_cast<size_t>(n));
        current = link[0] == '/' ? link : Folder(current) + "/" + link;
    }
    return current;
}

FILE* OutputPlatform_CreateTemp(const std::string& target, bool binary, std::string* tempPath,
                                std::string* error) {
    (void)binary; // POSIX makes no difference
    // A write past the file size limit (ulimit -f) then fails like a full
    // disk, so the job reports it and removes the temporary file, instead
    // of being killed with the file left behind.
    signal(SIGXFSZ, SIG_IGN);
    std::string name = Folder(target) + "/." + LastPart(target) + ".XXXXXX";
    const int fd = mkstemp(&name[0]);
    if (fd < 0) {
        *error = strerror(errno);
        return nullptr;
    }
    // The file gets the mode the target has, or a new file's usual one.
    struct stat st;
    mode_t mode;
    if (stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    FILE* file = fchmod(fd, mode) == 0 ? fdopen(fd, "w") : nullptr;
    if (!file) {
        *error = strerror(errno);
        close(fd);
        unlink(name.c_str());
        return nullptr;
    }
    *tempPath = name;
    return file;
}

bool OutputPlatform_Replace(const std::string& temp, const std::string& target,
                            std::string* error) {
    if (rename(temp.c_str(), target.c_str()) != 0) {
        *error = strerror(errno);
        return false;
    }
    return true;
}
