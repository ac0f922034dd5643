// module/module.h
// The module frame: what Skorvan relies on of the host simulator (the two
// exported records, the host's function table and variable records) and the
// persisted fly-by settings with their registry store. Everything above it
// (flyby/, ui/, dll/) builds on this; it includes nothing of theirs. The
// Win32-only handles live in module_win32.h.
#pragma once

#include <atomic>
#include <cstdint>

// Function-table entries use the Windows standard calling convention (each
// entry removes its own arguments). Other targets have one convention only.
#if defined(_WIN32) && defined(__i386__)
#define HOST_STDCALL __attribute__((stdcall))
#else
#define HOST_STDCALL
#endif

extern "C" {

// ---- Host interface -------------------------------------------------------

// One aircraft variable as the host delivers it: 32 bytes, the token at
// offset 0 and the value (written by the host) at offset 12.
#pragma pack(push, 4)
typedef struct HostVariable {
    uint32_t tokenId;
    uint8_t hostOwned[8];
    double value;
    uint8_t hostOwnedTail[12];
} HostVariable;
#pragma pack(pop)

enum {
    HOST_TOKEN_CLOCK = 0x05,        // advances while the simulation runs
    HOST_TOKEN_GROUND_SPEED = 0x3D, // kilometres per hour
    HOST_TOKEN_LATITUDE = 0x47,     // 111130 units per degree
    HOST_TOKEN_LONGITUDE = 0x48,    // 2^48 units per full turn
    HOST_TOKEN_ALTITUDE = 0x49,     // metres
    HOST_TOKEN_PITCH = 0x4D,        // degrees
    HOST_TOKEN_UNUSED_4F = 0x4F,    // refreshed with the others, never read
    HOST_TOKEN_HEADING = 0x56,      // degrees
};

// Function-table entry 40 (byte offset 0xA0 on the 32-bit host).
enum { HOST_ENTRY_REFRESH = 40 };
typedef void(HOST_STDCALL* HostRefreshFn)(HostVariable* variable);
typedef int32_t(HOST_STDCALL* HostIdentifierFn)(uint32_t identifier);
typedef int32_t(HOST_STDCALL* HostIdentifierArgFn)(uint32_t identifier, int32_t argument);

enum { IMPORT_ID_FUNCTION_TABLE = 0x0000000F };

// Exported; the host stores its function table's address into entry 1.
typedef struct ImportTableEntry {
    uint32_t id;
    void* const* volatile functionTable;
} ImportTableEntry;
extern ImportTableEntry ImportTable[2];

// The record that Linkage's seventh word points to, as far as the module
// reads it: the third word points to the host's identifier for this module.
typedef struct HostModuleRecord {
    uintptr_t words[2];
    const uint32_t* identifier;
} HostModuleRecord;

// Exported: seven words, 0x13, two do-nothing entries, four zeros.
enum { LINKAGE_VERSION = 0x00000013 };
typedef struct LinkageRecord {
    uint32_t version;
    void (*initialise)(void);
    void (*deinitialise)(void);
    uintptr_t reserved[3];
    const HostModuleRecord* volatile moduleRecord; // seventh word; the host's to set
} LinkageRecord;
extern LinkageRecord Linkage;

// The function table the host left in ImportTable, or null before it did.
void* const* Host_FunctionTable(void);

// Calls entry 40 for one variable. Returns 1 when the host was called and 0
// when there is no function table yet (the variable is then left as it was).
int32_t Host_RefreshVariable(HostVariable* variable);

// The wrappers of entries 24 to 31 (30 is not wrapped). Each passes the
// host's identifier for this module and returns the entry's result. Without a
// function table or without the record behind Linkage's seventh word (which
// only the host can provide) they call nothing and return 0.
int32_t Host_CallEntry24(void);
int32_t Host_CallEntry25(int32_t argument);
int32_t Host_CallEntry26(void);
int32_t Host_CallEntry27(void);
int32_t Host_CallEntry28(int32_t argument);
int32_t Host_CallEntry29(void);
int32_t Host_CallEntry31(void);

// ---- Registry store -------------------------------------------------------

enum { REGISTRY_TEXT_SIZE = 300, REGISTRY_READ_BUFFER_SIZE = 256 };
#define REGISTRY_LOCAL_MACHINE ((uintptr_t)0x80000002u)
#define SETTINGS_REGISTRY_KEY "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0\\Skorvan"

typedef struct RegistryValueRecord {
    uintptr_t rootKey;                  // a predefined root key (REGISTRY_LOCAL_MACHINE)
    char subKey[REGISTRY_TEXT_SIZE];    // key path, NUL-terminated
    char valueName[REGISTRY_TEXT_SIZE]; // value name, NUL-terminated
    char data[REGISTRY_TEXT_SIZE];      // the value's text
} RegistryValueRecord;

// 1 when data now holds the stored text (at most 255 characters), else 0.
int32_t Registry_ReadValue(RegistryValueRecord* record);
// 1 when the value was stored as REG_SZ (the key is created if need be).
int32_t Registry_WriteValue(RegistryValueRecord* record);

} // extern "C"

// ---- Settings ---------------------------------------------------------------

// The persisted settings: the six of the configuration dialog, then one
// kept in the registry alone. The UI thread writes them, the worker reads
// them without a lock: relaxed atomics make that race defined and cost
// nothing over plain 32-bit loads and stores.
struct FlyBySettings {
    std::atomic<int32_t> FlyByActive;          // non-zero: fly-by on
    std::atomic<int32_t> FlyByDuration;        // seconds per fly-by
    std::atomic<int32_t> FlyByRelAltitude;     // feet above the aircraft
    std::atomic<int32_t> FlyByMinDistance;     // metres
    std::atomic<int32_t> FlyByCameraPlacement; // 0 right, 1 left, 2 random
    std::atomic<int32_t> FlyByTravelling;      // non-zero: travelling camera
    std::atomic<int32_t> FlyByFollowTurn;      // non-zero: lay the point on the predicted turn
};
extern FlyBySettings g_flyBySettings;

inline int32_t Settings_Get(const std::atomic<int32_t>& setting) {
    return setting.load(std::memory_order_relaxed);
}
inline void Settings_Set(std::atomic<int32_t>& setting, int32_t value) {
    setting.store(value, std::memory_order_relaxed);
}

// Registry value names and members, in the order they are loaded and saved.
struct SettingField {
    const char* name;
    std::atomic<int32_t> FlyBySettings::*member;
};
enum { SETTINGS_COUNT = 7 };
extern const SettingField SETTINGS_FIELDS[SETTINGS_COUNT];

// The atol rule: leading white space, an optional sign, decimal digits up
// to the first other character, no digits give 0. Numbers beyond 32 bits
// saturate at INT32_MIN and INT32_MAX.
int32_t Settings_ParseInteger(const char* text);

// The menu's toggle: 0 becomes 1, anything else 1 - value (5 becomes -4,
// still on), saturating where that would overflow.
int32_t Settings_Toggled(int32_t active);

void Settings_SetDefaults(void);
void Settings_Load(void);
void Settings_Save(void);
