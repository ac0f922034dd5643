// dll/startup_win32.cpp
// Module start-up and shut-down: the one place that knows the frame, the
// fly-by and the user interface together. Start-up never fails as a whole:
// each failure is shown in a message box and the remaining steps still run.
#include "dll_win32.h"

#include "../flyby/flyby.h"
#include "../module/module_win32.h"
#include "../ui/ui.h"

static void ShowStartupMessage(const char* text) {
    MessageBoxA(nullptr, text, nullptr, MB_OK);
}

int32_t Module_Startup(void) {
    Settings_SetDefaults();
    Settings_Load();

    g_mainWindow = FindWindowA("FS98MAIN", nullptr);
    if (g_mainWindow == nullptr)
        ShowStartupMessage("FS window not found");

    const DWORD uiThreadId = GetCurrentThreadId();

    Camera_SetOutputAddresses(CAMERA_HOST_ADDRESS);

    if (!Worker_Start())
        ShowStartupMessage("Skorvan: Unable to create thread");

    const int32_t hooksMissing = Hook_Install(uiThreadId);
    for (int32_t i = 0; i < hooksMissing; ++i)
        ShowStartupMessage("Skorvan: Unable to set hook");
    return 1;
}

void Module_Shutdown(int32_t processEnding) {
    Settings_Save();
    // Nothing of the module may run once it is gone: its windows go first,
    // while their procedures are still there to receive the last messages.
    Ui_CloseAll();
    Hook_Remove();
    Worker_Stop(processEnding);
}
