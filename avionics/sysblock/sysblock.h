/* avionics/sysblock/sysblock.h
 * The shared system block: a named shared-memory block of 242940 bytes
 * ("FS2002_ORVELAN_SYSTEM") that the modules loaded into the simulator share,
 * the dispatcher it carries, the mutex its users take around the shared
 * state, and a small per-module counter. Usable from C and C++.
 *
 * Conventions: functions return 1 on success and 0 on failure unless a
 * function says otherwise (SystemBlock_Call returns the dispatcher's
 * result). The caller owns the SystemBlock record; the block itself
 * belongs to every module that has it open and lives until the last
 * closes it. Any thread may call; the lock is recursive. */
#ifndef SKORVAN_SYSBLOCK_H
#define SKORVAN_SYSBLOCK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define SYSTEM_BLOCK_MAGIC 64001
#define SYSTEM_BLOCK_NAME "FS2002_ORVELAN_SYSTEM"
#define SYSTEM_BLOCK_SIZE 242940
#define SYSTEM_LOCK_TIMEOUT_MS 10000

/* A module's handle on the block; from SystemBlock_Open to SystemBlock_Close. */
typedef struct SystemBlock {
    int32_t magic; /* SYSTEM_BLOCK_MAGIC while valid */
    void* mapping; /* the file mapping (a descriptor's number where there are no handles) */
    void* view;    /* the whole block */
} SystemBlock;

/* The dispatcher, whose address the owner of the system state stores in
 * the block right after its first 32-bit word (bytes 4 to 7 in the 32-bit
 * simulator; a pointer's width from byte 4 elsewhere); 0 means none. */
typedef int32_t (*SystemDispatchFn)(void* block, int32_t a, int32_t b, int32_t c);

/* The mutex guarding the shared state lives in the client's map context
 * (map.h: MapContext.systemMutex, from SystemMutex_Create or the
 * platform's own). */
struct MapContext;

/* Opens the block, or creates and zeroes it; none when neither works. */
SystemBlock* SystemBlock_Open(void);
/* 1, or 0 (nothing changed) when the record is not an open SystemBlock:
 * a record already closed, or one that never came from SystemBlock_Open, is
 * refused without being read. */
int32_t SystemBlock_Close(SystemBlock* block);
/* The dispatcher's result; 0 without a dispatcher; -1 for an invalid record. */
int32_t SystemBlock_Call(SystemBlock* block, int32_t a, int32_t b, int32_t c);
/* 1 when the context's mutex was obtained within 10000 ms, else 0 (also
 * when the context has no mutex). The thread that holds the mutex may take
 * it again; it must then release it as often as it took it. */
int32_t SystemBlock_Lock(const struct MapContext* context);
/* Releases the context's mutex once (nothing without one). Returns 1. */
int32_t SystemBlock_Unlock(const struct MapContext* context);
/* The module's counter after adding or subtracting n. */
int32_t SystemBlock_CounterAdd(int32_t n);
int32_t SystemBlock_CounterSubtract(int32_t n);

/* For the owner of the shared state: a mutex that threads (and, where the
 * platform allows, processes) can share, and its release. */
void* SystemMutex_Create(void);
void SystemMutex_Destroy(void* mutex);
/* Removes the block's name where shared memory outlives its last user
 * (POSIX), so that the next open creates a fresh zeroed block. Nothing on
 * Windows, where the block goes with its last handle. */
void SystemBlock_RemoveName(void);

#ifdef __cplusplus
}
#endif

#endif
