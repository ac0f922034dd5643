// avionics/sysblock/sysblock_posix.cpp
// The shared block with shm_open and mmap under the same name and size,
// and a process-shared pthread mutex with a timed lock. There are no memory
// probes here: records are checked by their magic alone.
#include "sysblock.h"

#include "platform.h"

#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>

static const char* const SHM_NAME = "/" SYSTEM_BLOCK_NAME;

#ifdef SKORVAN_TEST_HOOKS
void (*g_systemMapBeforeCreate)(void) = nullptr;
#endif

bool SystemMap_Open(void** mapping, void** view, bool* created) {
    *created = false;
    int fd = shm_open(SHM_NAME, O_RDWR, 0600);
    if (fd < 0) {
#ifdef SKORVAN_TEST_HOOKS
        if (g_systemMapBeforeCreate != nullptr)
            g_systemMapBeforeCreate();
#endif
        fd = shm_open(SHM_NAME, O_RDWR | O_CREAT | O_EXCL, 0600);
        if (fd < 0 && errno == EEXIST) // another opener was first
            fd = shm_open(SHM_NAME, O_RDWR, 0600);
        else if (fd >= 0)
            *created = true;
        if (fd < 0)
            return false;
        if (*created && ftruncate(fd, SYSTEM_BLOCK_SIZE) != 0) {
            close(fd);
            shm_unlink(SHM_NAME);
            return false;
        }
    }
    // A creator that died before sizing the block, or one that is sizing it
    // now, leaves it shorter than the view: touching the view past its end
    // would raise SIGBUS. Size it (the new bytes are zeros), or refuse it.
    struct stat status;
    if (fstat(fd, &status) != 0 ||
        (status.st_size < SYSTEM_BLOCK_SIZE && ftruncate(fd, SYSTEM_BLOCK_SIZE) != 0)) {
        close(fd);
        return false;
    }
    void* mapped = mmap(nullptr, SYSTEM_BLOCK_SIZE, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (mapped == MAP_FAILED) { // never zero through a missing view
        close(fd);
        return false;
    }
    *mapping = reinterpret_cast<void*>(static_cast<intptr_t>(fd));
    *view = mapped;
    return true;
}

void SystemMap_Close(void* mapping, void* view) {
    munmap(view, SYSTEM_BLOCK_SIZE);
    close(static_cast<int>(reinterpret_cast<intptr_t>(mapping)));
}

bool SystemMap_CanRead(const void* p, size_t) {
    return p != nullptr;
}
bool SystemMap_CanWrite(void* p, size_t) {
    return p != nullptr;
}

int32_t SystemMutex_Wait(void* mutex, uint32_t timeoutMs) {
    // The monotonic clock: a wall clock set back would stretch the wait.
    timespec deadline;
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += timeoutMs / 1000;
    deadline.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    pthread_mutex_t* m = static_cast<pthread_mutex_t*>(mutex);
    const int result = pthread_mutex_clocklock(m, CLOCK_MONOTONIC, &deadline);
    if (result == EOWNERDEAD) {
        // Its holder died: mend it and give it back, reporting failure.
        pthread_mutex_consistent(m);
        pthread_mutex_unlock(m);
        return 0;
    }
    return result == 0;
}

void SystemMutex_Release(void* mutex) {
    pthread_mutex_unlock(static_cast<pthread_mutex_t*>(mutex));
}

void SystemThread_Yield(void) {
    sched_yield();
}

void* SystemMutex_Create(void) {
    pthread_mutex_t* m = static_cast<pthread_mutex_t*>(malloc(sizeof(pthread_mutex_t)));
    if (m == nullptr)
        return nullptr;
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
    // As a Win32 mutex: its owner may take it again, and releases it as
    // often as it took it.
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
    const int failed = pthread_mutex_init(m, &attributes);
    pthread_mutexattr_destroy(&attributes);
    if (failed) {
        free(m);
        return nullptr;
    }
    return m;
}

void SystemMutex_Destroy(void* mutex) {
    if (mutex == nullptr)
        return;
    pthread_mutex_destroy(static_cast<pthread_mutex_t*>(mutex));
    free(mutex);
}

void SystemBlock_RemoveName(void) {
    shm_unlink(SHM_NAME);
}
