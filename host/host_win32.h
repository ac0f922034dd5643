// host/host_win32.h
// What the files of the stand-in simulator's Windows program share: its
// clock and log, the function table, the camera memory, the windows, the
// dialog steps, the screenshots, the module's loading and the script timer.
// Included only by host/*_win32.cpp.
#pragma once

#include "host.h"

#include <windows.h>

#include <cstdint>
#include <string>

// ---- The module's records, as the host knows them -------------------------
// The stand-in keeps its own copy of the layout instead of including
// module/module.h: it stands for the real simulator, so it must not share
// (and so silently agree with) the code it tests.

#pragma pack(push, 4)
struct ModuleVariable { // the 32-byte variable record; value at offset 12
    uint32_t tokenId;
    uint8_t hostOwned[8];
    double value;
    uint8_t hostOwnedTail[12];
};
#pragma pack(pop)
static_assert(sizeof(ModuleVariable) == 32, "variable records are 32 bytes");

struct ModuleImport { // one ImportTable entry: id, then where the table goes
    uint32_t id;
    void* const* functionTable;
};

// ---- Clock and log (log_win32.cpp) ------------------------------------------

// Starts the host's millisecond clock; HostLog_NowMs counts from here.
void HostLog_StartClock();
int64_t HostLog_NowMs();
// Opens the CSV log (none when path is empty) and sets whether lines for a
// person watching are printed. False when the log cannot be opened.
bool HostLog_Open(const std::string& path, bool live);
// Closes the log; false when a write or the close failed.
bool HostLog_Close();
bool HostLog_IsLive();
// One CSV line: the time, then the formatted fields.
void HostLog_Line(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A line for a person watching (--live), prefixed with the time.
void HostLog_Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Events raised on the module's threads wait in a ring until the UI thread
// writes them: kind 0 is a refresh, otherwise the entry number.
void HostLog_Push(uint32_t kind, uint32_t token, int32_t argument, double value);
void HostLog_Drain();

// ---- Function table (function_table_win32.cpp) -------------------------------

// The table handed to the module; entries 24-29, 31 and 40 are filled.
void* const* HostTable_Build();
// Makes a copy of the flight the one that entry 40 reports from now on.
void HostTable_Publish(const HostFlight* flight);

// ---- Camera memory (camera_win32.cpp) ------------------------------------------

// Commits the camera memory at the simulator's fixed address; false when
// that address is taken.
bool HostCamera_Commit();
// Logs the camera words when the module has moved the camera.
void HostCamera_Poll(const HostFlight* flight);

// ---- Message boxes (message_box_win32.cpp) -----------------------------------

// Logs and presses OK on every message box the module shows on this thread.
void HostBox_Install();
void HostBox_Remove();

// ---- Windows and menus (windows_win32.cpp) ------------------------------------

extern HWND g_mainWindow;  // "FS98MAIN", the module's host window, or null
extern HWND g_otherWindow; // a second window of the host's, or null
bool HostWindow_CreateMain(HINSTANCE instance);
void HostWindow_CreateOther(HINSTANCE instance);
// Logs a menu's items, pop-ups included, with positions below prefix.
void HostWindow_LogMenu(HMENU menu, const std::string& prefix);

// ---- Dialogs and screenshots (dialog_win32.cpp, screenshot_win32.cpp) -------

void HostDialog_Step(const HostScriptEvent& event);
void HostScreen_Save(const std::string& path);

// ---- The module (loading_win32.cpp) ---------------------------------------------

// The DLL that HostModule_Load loads and the function table it hands it.
void HostModule_Configure(const std::string& dllPath, void* const* functionTable);
void HostModule_Load();
void HostModule_Unload();
// Loads and unloads the module count times back to back (unloading it
// first if it is loaded), logging the memory before and every 100 cycles.
void HostModule_Cycle(int count);
// Logs the process's working set, private bytes and address space in use, in KB.
void HostMemory_Log(int cycle);
// Writes the script's settings into the module's registry key.
void HostModule_PrepareSettings(const HostScript& script);

// ---- The script timer (script_timer_win32.cpp) ------------------------------------

// Runs the script from now on, flying from start, on a thread timer that
// goes on inside the module's menus and modal dialogs. Returns the timer.
UINT_PTR HostTimer_Start(const HostScript* script, const HostFlight* start);
