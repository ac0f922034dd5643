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

// Every persisted setting, one row each; the store, the defaults, the
// replay tool's options and the documents' check all come from here, so a
// new setting is one row plus its use. Columns: the member (and registry
// value name), the replay tool's field and option, the default, the range
// the setting is meant for, whether a value outside that range is used as
// the default (1) or as it is (0), what the configuration dialog shows ("":
// not in the dialog) and one line of help.
#define FLYBY_SETTINGS(X)                                                                          \
    X(FlyByActive, active, "active", 1, INT32_MIN, INT32_MAX, 0, "",                               \
      "fly-by on (any number but 0) or off (0); the menu's Activate Fly-by")                       \
    X(FlyByDuration, duration, "duration", 10, INT32_MIN, INT32_MAX, 0,                            \
      "Fly-by duration (seconds)", "seconds between fly-bys")                                      \
    X(FlyByRelAltitude, relAltitude, "rel-altitude", 0, INT32_MIN, INT32_MAX, 0,                   \
      "Camera relative altitude", "feet the camera stands above the aircraft")                     \
    X(FlyByMinDistance, minDistance, "min-distance", 50, INT32_MIN, INT32_MAX, 0,                  \
      "Minimum distance", "least distance in metres to the camera point; the travelling slide")    \
    X(FlyByCameraPlacement, placement, "placement", 0, 0, 2, 0,                                    \
      "Camera placement: Always right / Always left / Random",                                     \
      "0 camera right of the track, 1 left, 2 random; others keep the last side")                  \
    X(FlyByTravelling, travelling, "travelling", 0, 0, 1, 0, "Do travelling",                      \
      "1: the camera stands on the track and slides aside as the aircraft passes")                 \
    X(FlyByFollowTurn, followTurn, "follow-turn", 0, 0, 1, 0, "",                                  \
      "1: lay the fly-by point on the turn being flown")                                           \
    X(FlyByPassAt, passAt, "pass-at", 100, 10, 100, 1, "",                                         \
      "percent of the period at which the aircraft passes the camera (10 to 100)")

// The settings, module-wide. The UI thread writes them, the worker reads
// them without a lock: relaxed atomics make that race defined and cost
// nothing over plain 32-bit loads and stores.
struct FlyBySettings {
#define FLYBY_SETTING_MEMBER(member, ...) std::atomic<int32_t> member;
    FLYBY_SETTINGS(FLYBY_SETTING_MEMBER)
#undef FLYBY_SETTING_MEMBER
};
extern FlyBySettings g_flyBySettings;

inline int32_t Settings_Get(const std::atomic<int32_t>& setting) {
    return setting.load(std::memory_order_relaxed);
}
inline void Settings_Set(std::atomic<int32_t>& setting, int32_t value) {
    setting.store(value, std::memory_order_relaxed);
}

// One row of the table, in the order the settings are loaded and saved.
struct SettingField {
    const char* name; // the registry value name
    std::atomic<int32_t> FlyBySettings::*member;
    const char* option; // the replay tool's option, without its dashes
    int32_t defaultValue;
    int32_t minimum, maximum; // the range the setting is meant for
    int32_t outsideReadsDefault;
    const char* dialogLabel; // "" when only in the registry
    const char* help;
};
// Each row's place in SETTINGS_FIELDS (SETTING_INDEX_FlyByDuration, ...).
enum SettingIndex {
#define FLYBY_SETTING_INDEX(member, ...) SETTING_INDEX_##member,
    FLYBY_SETTINGS(FLYBY_SETTING_INDEX)
#undef FLYBY_SETTING_INDEX
        SETTINGS_COUNT
};
extern const SettingField SETTINGS_FIELDS[SETTINGS_COUNT];

// The row whose registry value name is name (case as stored), or null.
const SettingField* Settings_Find(const char* name);

// The value a setting is used with: outside its range, a setting that
// reads so is taken as its default; every other value as it is.
int32_t Settings_Usable(const SettingField* field, int32_t value);

// The setting's current value as Settings_Usable gives it.
int32_t Settings_GetUsable(std::atomic<int32_t> FlyBySettings::*member);

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
