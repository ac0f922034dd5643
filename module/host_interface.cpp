// module/host_interface.cpp
// The two records the host links against (ImportTable, Linkage), the call
// that refreshes one variable through the host's function table, and the
// wrappers of the table's entries 24 to 31.
#include "module.h"

#include <cstddef>

static_assert(sizeof(HostVariable) == 32, "the host's variable record is 32 bytes");
static_assert(offsetof(HostVariable, value) == 12, "the host writes the value at offset 12");
#if defined(__i386__)
static_assert(sizeof(ImportTableEntry) == 8, "an import entry is two 32-bit words");
static_assert(sizeof(LinkageRecord) == 28, "Linkage is seven 32-bit words");
#endif

static void Linkage_DoNothing(void) {}

extern "C" {

ImportTableEntry ImportTable[2] = {
    {IMPORT_ID_FUNCTION_TABLE, nullptr},
    {0, nullptr},
};

LinkageRecord Linkage = {
    LINKAGE_VERSION, Linkage_DoNothing, Linkage_DoNothing, {0, 0, 0}, nullptr,
};

void* const* Host_FunctionTable(void) {
    return ImportTable[0].functionTable;
}

int32_t Host_RefreshVariable(HostVariable* variable) {
    void* const* table = Host_FunctionTable();
    if (table == nullptr || table[HOST_ENTRY_REFRESH] == nullptr)
        return 0;
    reinterpret_cast<HostRefreshFn>(table[HOST_ENTRY_REFRESH])(variable);
    return 1;
}

} // extern "C"

// The entry's address, or null when the table or the module identifier is
// missing; *identifier is set when an entry is returned.
static void* HostEntry(int entry, uint32_t* identifier) {
    void* const* table = Host_FunctionTable();
    const HostModuleRecord* record = Linkage.moduleRecord;
    if (table == nullptr || record == nullptr || record->identifier == nullptr)
        return nullptr;
    *identifier = *record->identifier;
    return table[entry];
}

static int32_t CallIdentifierEntry(int entry) {
    uint32_t identifier = 0;
    void* fn = HostEntry(entry, &identifier);
    return fn ? reinterpret_cast<HostIdentifierFn>(fn)(identifier) : 0;
}

static int32_t CallIdentifierArgEntry(int entry, int32_t argument) {
    uint32_t identifier = 0;
    void* fn = HostEntry(entry, &identifier);
    return fn ? reinterpret_cast<HostIdentifierArgFn>(fn)(identifier, argument) : 0;
}

extern "C" {
int32_t Host_CallEntry24(void) {
    return CallIdentifierEntry(24);
}
int32_t Host_CallEntry25(int32_t argument) {
    return CallIdentifierArgEntry(25, argument);
}
int32_t Host_CallEntry26(void) {
    return CallIdentifierEntry(26);
}
int32_t Host_CallEntry27(void) {
    return CallIdentifierEntry(27);
}
int32_t Host_CallEntry28(int32_t argument) {
    return CallIdentifierArgEntry(28, argument);
}
int32_t Host_CallEntry29(void) {
    return CallIdentifierEntry(29);
}
int32_t Host_CallEntry31(void) {
    return CallIdentifierEntry(31);
}
}
