// dll/dll_main_win32.cpp
// The library entry: all of the module's work starts at process attach and
// ends at process detach. The host keeps the module loaded whatever happens.
#include "dll_win32.h"

#include "../module/module_win32.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_moduleInstance = instance;
        // Thread notifications stay on until the worker's own arrives: its
        // arrival tells shut-down that the worker has started (see
        // worker_win32.cpp). No thread is left to notify about without one.
        Module_Startup();
        if (!Worker_Exists())
            DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_THREAD_ATTACH) {
        if (Worker_NoteThreadAttach())
            DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        // A reserved pointer that is not null means the process is ending.
        Module_Shutdown(reserved != nullptr);
    }
    return TRUE;
}
