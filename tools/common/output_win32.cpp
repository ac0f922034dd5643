// tools/common/output_win32.cpp
// The file-system calls behind the safe outputs on Windows.
#include "output.h"

#include <windows.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace {

std::string Reason(DWORD code) {
    char text[256] = "";
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, text, sizeof text, nullptr);
    std::string reason(text, n);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.'))
        reason.pop_back();
    return reason.empty() ? "error " + std::to_string(code) : reason;
}

size_t LastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

std::string Folder(const std::string& path) {
    const size_t at = LastSeparator(path);
    if (at == std::string::npos)
        return ".";
    return at == 0 ? path.substr(0, 1) : path.substr(0, at);
}

std::string LastPart(const std::string& path) {
    const size_t at = LastSeparator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

HANDLE OpenForQuery(const std::string& path) {
    return CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool Query(const std::string& path, OutputFileId* id) {
    HANDLE handle = OpenForQuery(path);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(handle, &info) != 0;
    id->regular = ok && GetFileType(handle) == FILE_TYPE_DISK &&
                  !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(handle);
    if (!ok)
        return false;
    id->device = info.dwVolumeSerialNumber;
    id->inode = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

} // namespace

bool OutputPlatform_Identify(const std::string& path, OutputFileId* id) {
    *id = OutputFileId();
    if (Query(path, id)) {
        id->exists = true;
        return true;
    }
    OutputFileId folder;
    if (!Query(Folder(path), &folder))
        return false;
    id->regular = true;
    id->device = folder.device;
    id->inode = folder.inode;
    id->name = LastPart(path);
    for (char& c : id->name) // Windows names ignore case
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return true;
}

std::string OutputPlatform_Resolve(const std::string& path) {
    HANDLE handle = OpenForQuery(path);
    if (handle == INVALID_HANDLE_VALUE)
        return path;
    char final[MAX_PATH * 4];
    const DWORD n = GetFinalPathNameByHandleA(handle, final, sizeof final, FILE_NAME_NORMALIZED);
    CloseHandle(handle);
    if (n == 0 || n >= sizeof final)
        return path;
    std::string resolved(final, n);
    if (resolved.compare(0, 4, "\\\\?\\") == 0 && resolved.size() > 6 && resolved[5] == ':')
        resolved.erase(0, 4); // a drive path needs no long-path prefix
    return resolved;
}

FILE* OutputPlatform_CreateTemp(const std::string& target, bool binary, std::string* tempPath,
                                std::string* error) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = Folder(target) + "\\." + LastPart(target) + "." +
                                 std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(GetTickCount()) + "-" + std::to_string(++counter);
        const int fd =
            _open(name.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | (binary ? _O_BINARY : _O_TEXT),
                  _S_IREAD | _S_IWRITE);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            *error = strerror(errno);
            return nullptr;
        }
        FILE* file = _fdopen(fd, binary ? "wb" : "w");
        if (!file) {
            *error = strerror(errno);
            _close(fd);
            DeleteFileA(name.c_str());
            return nullptr;
        }
        *tempPath = name;
        return file;
    }
    *error = "no free temporary name";
    return nullptr;
}

bool OutputPlatform_Replace(const std::string& temp, const std::string& target,
                            std::string* error) {
    if (!MoveFileExA(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *error = Reason(GetLastError());
        return false;
    }
    return true;
}
