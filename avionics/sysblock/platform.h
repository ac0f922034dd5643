// avionics/sysblock/platform.h
// The shared block's platform seam: named shared memory, probes of a
// record's memory, and the mutex wait. Private to this area.
#pragma once

#include <cstddef>
#include <cstdint>

// Opens the named block, or creates it; created tells which. False when
// neither works, or when no view could be mapped (the mapping is closed).
bool SystemMap_Open(void** mapping, void** view, bool* created);
void SystemMap_Close(void* mapping, void* view);
#ifdef SKORVAN_TEST_HOOKS
// Called (where set) between finding no block and creating one: tests make
// another module create it in that window. Only in the test build of this
// area's objects (skorvan_test_hooks), never in the library.
extern void (*g_systemMapBeforeCreate)(void);
#endif
// Whether n bytes at p can be read / written; true where no probe exists.
bool SystemMap_CanRead(const void* p, size_t n);
bool SystemMap_CanWrite(void* p, size_t n);
// 1 when the mutex is now held by this thread, 0 on time-out, an abandoned
// mutex or a failed wait.
int32_t SystemMutex_Wait(void* mutex, uint32_t timeoutMs);
void SystemMutex_Release(void* mutex);
// Gives the processor to another ready thread, if any (the open-records
// spin lock waits with it).
void SystemThread_Yield(void);
