// avionics/sysblock/sysblock_win32.cpp
// The shared block as a named file mapping backed by the paging file, the
// memory probes, and a Win32 mutex.
#include "sysblock.h"

#include "platform.h"

#include <windows.h>

#ifdef SKORVAN_TEST_HOOKS
void (*g_systemMapBeforeCreate)(void) = nullptr;
#endif

bool SystemMap_Open(void** mapping, void** view, bool* created) {
    HANDLE handle = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, SYSTEM_BLOCK_NAME);
    *created = false;
    if (handle == nullptr) {
#ifdef SKORVAN_TEST_HOOKS
        if (g_systemMapBeforeCreate != nullptr)
            g_systemMapBeforeCreate();
#endif
        // Another module may create it between the two calls: then this
        // returns its mapping, which must not be zeroed.
        handle = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    SYSTEM_BLOCK_SIZE, SYSTEM_BLOCK_NAME);
        *created = handle != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
    }
    if (handle == nullptr)
        return false;
    void* mapped = MapViewOfFile(handle, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    if (mapped == nullptr) { // never zero through a missing view
        CloseHandle(handle);
        return false;
    }
    *mapping = handle;
    *view = mapped;
    return true;
}

void SystemMap_Close(void* mapping, void* view) {
    UnmapViewOfFile(view);
    CloseHandle(static_cast<HANDLE>(mapping));
}

bool SystemMap_CanRead(const void* p, size_t n) {
    return p != nullptr && !IsBadReadPtr(p, n);
}
bool SystemMap_CanWrite(void* p, size_t n) {
    return p != nullptr && !IsBadWritePtr(p, n);
}

int32_t SystemMutex_Wait(void* mutex, uint32_t timeoutMs) {
    const DWORD result = WaitForSingleObject(static_cast<HANDLE>(mutex), timeoutMs);
    if (result == WAIT_ABANDONED) {
        // The wait hands over a mutex whose holder died: give it back
        // rather than keep it for ever while reporting failure.
        ReleaseMutex(static_cast<HANDLE>(mutex));
        return 0;
    }
    return result == WAIT_OBJECT_0;
}

void SystemMutex_Release(void* mutex) {
    ReleaseMutex(static_cast<HANDLE>(mutex));
}

// Sleep(0) rather than SwitchToThread, which Windows 9x lacks.
void SystemThread_Yield(void) {
    Sleep(0);
}

void* SystemMutex_Create(void) {
    return CreateMutexA(nullptr, FALSE, nullptr);
}
void SystemMutex_Destroy(void* mutex) {
    CloseHandle(static_cast<HANDLE>(mutex));
}
void SystemBlock_RemoveName(void) {}
