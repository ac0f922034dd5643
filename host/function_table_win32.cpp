// host/function_table_win32.cpp
// The function table the host hands the module: entry 40 refreshes a
// variable from the latest published flight, the entries 24-31 only log
// their calls. The module calls them on its worker thread.
#include "host_win32.h"

#include <atomic>

enum { SNAPSHOT_COUNT = 64, TABLE_SIZE = 64 };

// The flight as last published by the UI thread. A ring of copies so that
// the worker never reads one while it is written.
static HostFlight g_snapshots[SNAPSHOT_COUNT];
static std::atomic<uint32_t> g_snapshotIndex{0};
static void* g_functionTable[TABLE_SIZE];

void HostTable_Publish(const HostFlight* flight) {
    const uint32_t next = g_snapshotIndex.load(std::memory_order_relaxed) + 1;
    g_snapshots[next % SNAPSHOT_COUNT] = *flight;
    g_snapshotIndex.store(next, std::memory_order_release);
}

static void __stdcall Entry40_Refresh(ModuleVariable* variable) {
    const uint32_t index = g_snapshotIndex.load(std::memory_order_acquire);
    const HostFlight flight = g_snapshots[index % SNAPSHOT_COUNT];
    variable->value = HostFlight_Value(&flight, variable->tokenId);
    HostLog_Push(0, variable->tokenId, 0, variable->value);
}

template <int ENTRY> static int32_t __stdcall EntryWithId(uint32_t identifier) {
    HostLog_Push(ENTRY, identifier, 0, 0.0);
    return 0;
}

template <int ENTRY>
static int32_t __stdcall EntryWithIdArg(uint32_t identifier, int32_t argument) {
    HostLog_Push(ENTRY, identifier, argument, 0.0);
    return 0;
}

void* const* HostTable_Build() {
    g_functionTable[24] = reinterpret_cast<void*>(EntryWithId<24>);
    g_functionTable[25] = reinterpret_cast<void*>(EntryWithIdArg<25>);
    g_functionTable[26] = reinterpret_cast<void*>(EntryWithId<26>);
    g_functionTable[27] = reinterpret_cast<void*>(EntryWithId<27>);
    g_functionTable[28] = reinterpret_cast<void*>(EntryWithIdArg<28>);
    g_functionTable[29] = reinterpret_cast<void*>(EntryWithId<29>);
    g_functionTable[31] = reinterpret_cast<void*>(EntryWithId<31>);
    g_functionTable[40] = reinterpret_cast<void*>(Entry40_Refresh);
    return g_functionTable;
}
