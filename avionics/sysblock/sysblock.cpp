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
    return block;
}

int32_t SystemBlock_Close(SystemBlock* block) {
    if (!SystemMap_CanRead(block, sizeof *block) || block->magic != SYSTEM_BLOCK_MAGIC)
        return 0;
    SystemMap_Close(block->mapping, block->view);
    block->magic = 0; // a second close of the same record is refused, not a double free
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
    return SystemMutex_Wait(context->systemMutex, SYSTEM_LOCK_TIMEOUT_MS);
}

int32_t SystemBlock_Unlock(const MapContext* context) {
    SystemMutex_Release(context->systemMutex);
    return 1;
}

int32_t SystemBlock_CounterAdd(int32_t n) {
    return g_systemCounter += n;
}
int32_t SystemBlock_CounterSubtract(int32_t n) {
    return g_systemCounter -= n;
}
