// dll/startup_win32.cpp
// Module start-up and shut-down: the one place that knows the frame, the
// fly-by and the user interface together. Start-up never fails as a whole:
// each failure is shown in a message box and the remaining steps still run.
#include "dll_win32.h"

#include "../flyby/flyby.h"
#include "../module/module_win32.h"
#include "../ui/ui.h"

static HANDLE g_workerThread = nullptr; // null when creation failed

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

    SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    DWORD workerId = 0; // not used, but older Windows insists on somewhere to put it
    g_workerThread = CreateThread(&security, 0, Worker_ThreadProc, nullptr, 0, &workerId);
    SetThreadPriority(g_workerThread, THREAD_PRIORITY_BELOW_NORMAL);
    if (g_workerThread == nullptr)
        ShowStartupMessage("Skorvan: Unable to create thread");

    const int32_t hooksMissing = Hook_Install(uiThreadId);
    for (int32_t i = 0; i < hooksMissing; ++i)
        ShowStartupMessage("Skorvan: Unable to set hook");
    return 1;
}

void Module_Shutdown(void) {
    Settings_Save();
    Hook_Remove();
    if (g_workerThread != nullptr) {
        TerminateThread(g_workerThread, 0);
        CloseHandle(g_workerThread);
        g_workerThread = nullptr;
    }
}
