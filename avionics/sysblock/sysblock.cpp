// avionics/sysblock/sysblock.cpp
// The shared system block's handle record, the dispatcher call, the lock
// and the module's counter; the platform's part is behind platform.h.
#include "sysblock.h"

#include "platform.h"

#include "map.h"

#include <cstdlib>
#include <cstring>

// One per loaded module; a plain read-modify-write, meant for one thread.
static int32_t g_systemCounter = 0;

// The records SystemBlock_Open handed out and not yet closed. Close looks a
// record up here before it reads it, so that closing a record twice (or a
// pointer that was never a record) touches no freed memory.
static SystemBlock** g_openBlocks = nullptr;
static size_t g_openCount = 0, g_openCapacity = 0;
// A spin lock on a GCC atomic builtin: no std::mutex or std::atomic, whose
// out-of-line parts (and exceptions) live in the C++ runtime, which a C
// gauge linked with the C driver does not have. The set is held briefly (a
// search, or a realloc when it grows), and only while a module opens or
// closes the block.
static bool g_openLock = false;

struct OpenBlocksHold {
    OpenBlocksHold() {
        while (__atomic_test_and_set(&g_openLock, __ATOMIC_ACQUIRE))
            SystemThread_Yield();
    }
    ~OpenBlocksHold() { __atomic_clear(&g_openLock, __ATOMIC_RELEASE); }
    OpenBlocksHold(const OpenBlocksHold&) = delete;
    OpenBlocksHold& operator=(const OpenBlocksHold&) = delete;
};

static bool OpenBlocks_Add(SystemBlock* block) {
    OpenBlocksHold hold;
    if (g_openCount == g_openCapacity) {
        const size_t capacity = g_openCapacity ? g_openCapacity * 2 : 8;
        void* grown = realloc(g_openBlocks, capacity * sizeof(SystemBlock*));
        if (grown == nullptr)
            return false;
        g_openBlocks = static_cast<SystemBlock**>(grown);
        g_openCapacity = capacity;
    }
    g_openBlocks[g_openCount++] = block;
    return true;
}

// True when block is open and still carries its magic; it is then no
// longer in the set.
static bool OpenBlocks_Take(const SystemBlock* block) {
    OpenBlocksHold hold;
    for (size_t i = 0; i < g_openCount; ++i) {
        if (g_openBlocks[i] == block) {
            if (block->magic != SYSTEM_BLOCK_MAGIC)
                return false;
            g_openBlocks[i] = g_openBlocks[--g_openCount];
            return true;
        }
    }
    return false;
}

SystemBlock* SystemBlock_Open(void) {
    void *mapping = nullptr, *view = nullptr;
    bool created = false;
    if (!SystemMap_Open(&mapping, &view, &created))
        return nullptr;
    if (created)
        memset(view, 0, SYSTEM_BLOCK_SIZE);
    SystemBlock* block = static_cast<SystemBlock*>(malloc(sizeof(SystemBlock)));
    if (block == nullptr) {
        SystemMap_Close(mapping, view);
        return nullptr;
    }
    *block = SystemBlock{SYSTEM_BLOCK_MAGIC, mapping, view};
    if (!OpenBlocks_Add(block)) {
        SystemMap_Close(mapping, view);
        free(block);
        return nullptr;
    }
    return block;
}

int32_t SystemBlock_Close(SystemBlock* block) {
    if (!OpenBlocks_Take(block))
        return 0;
    SystemMap_Close(block->mapping, block->view);
    block->magic = 0;
    free(block);
    return 1;
}

int32_t SystemBlock_Call(SystemBlock* block, int32_t a, int32_t b, int32_t c) {
    if (!SystemMap_CanWrite(block, sizeof *block) || block->magic != SYSTEM_BLOCK_MAGIC)
        return -1;
    if (!SystemMap_CanRead(block->view, 4 + sizeof(SystemDispatchFn)))
        return -1;
    SystemDispatchFn dispatch;
    memcpy(&dispatch, static_cast<const uint8_t*>(block->view) + 4, sizeof dispatch);
    if (dispatch == nullptr)
        return 0;
    return dispatch(block->view, a, b, c);
}

int32_t SystemBlock_Lock(const MapContext* context) {
    if (context == nullptr || context->systemMutex == nullptr)
        return 0; // no mutex to wait on: not obtained
    return SystemMutex_Wait(context->systemMutex, SYSTEM_LOCK_TIMEOUT_MS);
}

int32_t SystemBlock_Unlock(const MapContext* context) {
    if (context != nullptr && context->systemMutex != nullptr)
        SystemMutex_Release(context->systemMutex);
    return 1;
}

int32_t SystemBlock_CounterAdd(int32_t n) {
    return g_systemCounter += n;
}
int32_t SystemBlock_CounterSubtract(int32_t n) {
    return g_systemCounter -= n;
}
