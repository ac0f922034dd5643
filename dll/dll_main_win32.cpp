// dll/dll_main_win32.cpp
// The library entry: all of the module's work starts at process attach and
// ends at process detach. The host keeps the module loaded whatever happens.
#include "dll_win32.h"

#include "../module/module_win32.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_moduleInstance = instance;
        DisableThreadLibraryCalls(instance);
        Module_Startup();
    } else if (reason == DLL_PROCESS_DETACH) {
        Module_Shutdown();
    }
    return TRUE;
}
