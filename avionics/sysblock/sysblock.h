/**
 * @file sysblock.h
 * @brief The shared system block: a named shared-memory block that the
 * modules loaded into the simulator share, the dispatcher it carries, the
 * mutex its users take around the shared state, and a per-module counter.
 *
 * The block is SYSTEM_BLOCK_SIZE bytes named SYSTEM_BLOCK_NAME: a file
 * mapping backed by the paging file on Windows, POSIX shared memory
 * elsewhere. The module that creates it zeroes it; later openers see the
 * bytes as they are. Its layout beyond the dispatcher's address (from byte
 * 4) is defined by its users, not by this library.
 *
 * Threads: any thread may open, close and call. SystemBlock_Lock and
 * SystemBlock_Unlock are the only calls that synchronise the users of the
 * shared state: take the lock around every access to it. The library keeps
 * a set of the records it opened, guarded internally, so that opening and
 * closing are safe from several threads at once; nothing else here takes a
 * lock, and the counter is meant for one thread.
 *
 * Ownership: SystemBlock_Open allocates the SystemBlock record from the
 * standard heap; the caller owns it until SystemBlock_Close releases it.
 * The block itself belongs to every module that has it open and lives
 * until the last one closes it (on POSIX systems its name outlives that;
 * see SystemBlock_RemoveName). The mutex is the caller's: made with
 * SystemMutex_Create (or the platform's own) and stored in the map context
 * (map.h, MapContext::systemMutex) by the owner of the shared state.
 *
 * Errors: functions return 1 on success and 0 on failure unless a function
 * says otherwise; SystemBlock_Call returns the dispatcher's result or -1.
 * Nothing is printed, and no exception or longjmp leaves these functions.
 * Usable from C (C89 and later) and C++.
 */
#ifndef SKORVAN_SYSBLOCK_H
#define SKORVAN_SYSBLOCK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/** Marks a valid SystemBlock record (0xFA01). */
#define SYSTEM_BLOCK_MAGIC 64001
/** The shared block's name (on POSIX systems "/" and this name). */
#define SYSTEM_BLOCK_NAME "FS2002_ORVELAN_SYSTEM"
/** The shared block's size (bytes). */
#define SYSTEM_BLOCK_SIZE 242940
/** How long SystemBlock_Lock waits for the mutex (milliseconds). */
#define SYSTEM_LOCK_TIMEOUT_MS 10000

/** A module's handle on the shared block, valid from SystemBlock_Open to
 *  SystemBlock_Close. Made and released by the library only; read its
 *  fields, never write them. */
typedef struct SystemBlock {
    int32_t magic; /**< SYSTEM_BLOCK_MAGIC while the record is valid. */
    /** The file mapping's handle (Windows); elsewhere the shared memory's
     *  file descriptor, stored as a pointer-sized number. */
    void* mapping;
    /** The start of the mapped block: SYSTEM_BLOCK_SIZE bytes, readable and
     *  writable by this process. */
    void* view;
} SystemBlock;

/** The dispatcher that the owner of the system state installs by storing its
 *  address in the block right after the first 32-bit word (bytes 4 to 7 in
 *  the 32-bit simulator; a pointer's width from byte 4 elsewhere); 0 there
 *  means none. An address is meaningful only inside the process that
 *  stored it, the simulator's, which all its modules share.
 *  @param block the start of the caller's view of the block.
 *  @param a first argument, passed through unchanged.
 *  @param b second argument, passed through unchanged.
 *  @param c third argument, passed through unchanged.
 *  @return whatever the dispatcher defines; SystemBlock_Call returns it. */
typedef int32_t (*SystemDispatchFn)(void* block, int32_t a, int32_t b, int32_t c);

struct MapContext;

/** Opens the shared block, creating it (zero-filled) when no module has it
 *  open yet. A module that finds it existing sees its bytes as they are, also
 *  when another module creates it at the same moment. Any thread; takes no
 *  lock on the shared state.
 *  @return a new record owned by the caller (release it with
 *          SystemBlock_Close), or null when the block can be neither opened
 *          nor created, cannot be mapped, or memory is short (nothing is left
 *          open then). */
SystemBlock* SystemBlock_Open(void);
/** Unmaps the block, closes this module's handle on it and releases the
 *  record. The block lives on while other modules hold it. Any thread.
 *  @param block a record from SystemBlock_Open; a record already closed, or a
 *         pointer that never came from SystemBlock_Open, is refused without
 *         being read.
 *  @return 1, or 0 (nothing changed) when block is not an open record. */
int32_t SystemBlock_Close(SystemBlock* block);
/** Calls the dispatcher that the block carries, on the caller's thread,
 *  with the start of the view and a, b and c in that order.
 *  @param block an open record. On Windows an unreadable pointer is
 *         refused by probing its memory; elsewhere it must point to
 *         readable memory and is checked by its magic alone.
 *  @param a passed to the dispatcher.
 *  @param b passed to the dispatcher.
 *  @param c passed to the dispatcher.
 *  @return the dispatcher's result; 0 when the block has no dispatcher
 *          (nothing is called); -1 when the record or its view is not
 *          valid. */
int32_t SystemBlock_Call(SystemBlock* block, int32_t a, int32_t b, int32_t c);
/** Waits for the context's mutex, at most SYSTEM_LOCK_TIMEOUT_MS (10000 ms).
 *  The thread that holds it may take it again and must then release it as
 *  often as it took it. A mutex whose holder died (abandoned) is released
 *  again and reported as not obtained. When the result is 0 the caller must
 *  neither touch the shared state nor call SystemBlock_Unlock.
 *  @param context the map context whose systemMutex to take (map.h); null,
 *         or one without a mutex, gives 0 at once.
 *  @return 1 when this thread now holds the mutex; 0 on time-out, an
 *          abandoned mutex, a failed wait, or no mutex. */
int32_t SystemBlock_Lock(const struct MapContext* context);
/** Releases the context's mutex once, on the thread that took it with
 *  SystemBlock_Lock.
 *  @param context the map context (map.h); null, or one without a mutex,
 *         does nothing.
 *  @return 1; the release's own outcome is not reported. */
int32_t SystemBlock_Unlock(const struct MapContext* context);
/** Adds to the module's counter: one signed 32-bit integer per copy of the
 *  library (each module that links it has its own), 0 at load. A plain
 *  read-modify-write without a lock, meant for one thread; the caller keeps
 *  the sum within the 32-bit range.
 *  @param n the amount to add.
 *  @return the counter after adding n. */
int32_t SystemBlock_CounterAdd(int32_t n);
/** Subtracts from the module's counter (see SystemBlock_CounterAdd).
 *  @param n the amount to subtract.
 *  @return the counter after subtracting n. */
int32_t SystemBlock_CounterSubtract(int32_t n);

/** Makes a mutex for the owner of the shared state, to store in
 *  MapContext::systemMutex: a Win32 mutex (unnamed, not owned) on Windows,
 *  a recursive, robust, process-shared pthread mutex from the standard heap
 *  elsewhere. Any thread.
 *  @return the mutex, owned by the caller (release it with
 *          SystemMutex_Destroy), or null when it cannot be made. */
void* SystemMutex_Create(void);
/** Releases a mutex from SystemMutex_Create. No thread may hold or wait for
 *  it any more.
 *  @param mutex the mutex, or null (nothing happens). */
void SystemMutex_Destroy(void* mutex);
/** Removes the block's name where shared memory outlives its last user
 *  (POSIX), so that the next SystemBlock_Open creates a fresh zeroed block;
 *  modules that have it open keep their view. Does nothing on Windows,
 *  where the block goes with its last handle. For tests and for owners that
 *  start the shared state afresh. */
void SystemBlock_RemoveName(void);

#ifdef __cplusplus
}
#endif

#endif
