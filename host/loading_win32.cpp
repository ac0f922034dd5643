// host/loading_win32.cpp
// Loading and unloading the module as the simulator does, handing it the
// function table through its ImportTable, and the settings a script puts
// in the registry beforehand.
#include "host_win32.h"

#include <psapi.h>

#include <cstdlib>

// The module's registry key, written out here rather than taken from the
// module's headers (see host_win32.h).
static const char* const SETTINGS_KEY =
    "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0\\Skorvan";
enum { IMPORT_ID_FUNCTION_TABLE = 0x0F };

static HMODULE g_module = nullptr;
static std::string g_dllPath;
static void* const* g_table = nullptr;

void HostModule_Configure(const std::string& dllPath, void* const* functionTable) {
    g_dllPath = dllPath;
    g_table = functionTable;
}

void HostModule_Load() {
    if (g_module)
        return;
    g_module = LoadLibraryA(g_dllPath.c_str());
    if (!g_module) {
        HostLog_Line("load,%s,failed %lu", g_dllPath.c_str(), GetLastError());
        return;
    }
    HostLog_Line("load,%s,ok", g_dllPath.c_str());
    HostLog_Say("Skorvan.dll loaded; the fly-by starts about 5 s from now");
    auto* imports = reinterpret_cast<ModuleImport*>(GetProcAddress(g_module, "ImportTable"));
    if (imports && imports[0].id == IMPORT_ID_FUNCTION_TABLE) {
        imports[0].functionTable = g_table;
        HostLog_Line("imports,ok");
    } else {
        HostLog_Line("imports,missing");
    }
}

void HostModule_Unload() {
    if (!g_module)
        return;
    FreeLibrary(g_module);
    g_module = nullptr;
    HostLog_Line("unload");
    HostLog_Say("Skorvan.dll unloaded");
}

void HostModule_PrepareSettings(const HostScript& script) {
    if (script.clearSettings)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
    for (const HostSetting& setting : script.settings) {
        HKEY key;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            continue;
        if (setting.dword) {
            const DWORD number = static_cast<DWORD>(strtoul(setting.text.c_str(), nullptr, 10));
            RegSetValueExA(key, setting.name.c_str(), 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&number), sizeof number);
        } else {
            RegSetValueExA(key, setting.name.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(setting.text.c_str()),
                           static_cast<DWORD>(setting.text.size()) + 1);
        }
        RegCloseKey(key);
        HostLog_Line("setting,%s,%s%s", setting.name.c_str(), setting.text.c_str(),
                     setting.dword ? ",dword" : "");
    }
}

void HostMemory_Log(int cycle) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    const unsigned long long addressSpaceKb =
        (status.ullTotalVirtual - status.ullAvailVirtual) / 1024;
    HostLog_Line("memory,%d,%llu,%llu,%llu", cycle,
                 static_cast<unsigned long long>(counters.WorkingSetSize / 1024),
                 static_cast<unsigned long long>(counters.PrivateUsage / 1024), addressSpaceKb);
}

void HostModule_Cycle(int count) {
    // Memory before the first cycle and after every hundredth, so that a
    // leak shows as a slope rather than one number.
    HostModule_Unload();
    HostMemory_Log(0);
    for (int i = 1; i <= count; ++i) {
        HostModule_Load();
        HostModule_Unload();
        if (i % 100 == 0 || i == count)
            HostMemory_Log(i);
    }
}
