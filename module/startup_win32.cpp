// module/startup_win32.cpp
// Module start-up and shut-down, and the worker thread that drives the
// fly-by. Start-up never fails as a whole: each failure is shown in a message
// box and the remaining steps still run.
#include "module_win32.h"

#include "../flyby/flyby.h"
#include "../ui/ui.h"

HINSTANCE g_moduleInstance = nullptr;
HWND g_mainWindow = nullptr;
DWORD g_uiThreadId = 0;
HANDLE g_workerThread = nullptr;
HHOOK g_callWndProcHook = nullptr;
HHOOK g_getMessageHook = nullptr;

enum { WORKER_START_DELAY_MS = 5000, WORKER_TICK_PAUSE_MS = 500 };

static void ShowStartupMessage(const char* text) {
    MessageBoxA(nullptr, text, nullptr, MB_OK);
}

DWORD WINAPI FlyBy_ThreadProc(LPVOID) {
    Sleep(WORKER_START_DELAY_MS);
    for (;;) {
        FlyBy_Tick();
        Sleep(WORKER_TICK_PAUSE_MS);
    }
}

int32_t Module_Startup(void) {
    Settings_SetDefaults();
    Settings_Load();

    g_mainWindow = FindWindowA("FS98MAIN", nullptr);
    if (g_mainWindow == nullptr)
        ShowStartupMessage("FS window not found");

    g_uiThreadId = GetCurrentThreadId();

    Camera_SetOutputAddresses(CAMERA_HOST_ADDRESS);

    SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    DWORD workerId = 0; // not used, but older Windows insists on somewhere to put it
    g_workerThread = CreateThread(&security, 0, FlyBy_ThreadProc, nullptr, 0, &workerId);
    SetThreadPriority(g_workerThread, THREAD_PRIORITY_BELOW_NORMAL);
    if (g_workerThread == nullptr)
        ShowStartupMessage("Skorvan: Unable to create thread");

    HINSTANCE executable = GetModuleHandleA(nullptr);
    g_callWndProcHook =
        SetWindowsHookExA(WH_CALLWNDPROC, Hook_CallWndProc, executable, g_uiThreadId);
    g_getMessageHook = SetWindowsHookExA(WH_GETMESSAGE, Hook_GetMessage, executable, g_uiThreadId);
    if (g_callWndProcHook == nullptr)
        ShowStartupMessage("Skorvan: Unable to set hook");
    if (g_getMessageHook == nullptr)
        ShowStartupMessage("Skorvan: Unable to set hook");
    return 1;
}

void Module_Shutdown(void) {
    Settings_Save();
    if (g_callWndProcHook != nullptr)
        UnhookWindowsHookEx(g_callWndProcHook);
    if (g_getMessageHook != nullptr)
        UnhookWindowsHookEx(g_getMessageHook);
    if (g_workerThread != nullptr) {
        TerminateThread(g_workerThread, 0);
        CloseHandle(g_workerThread);
    }
}
