// module/module_win32.h
// The module-wide Win32 handles that start-up sets and the menu, hooks and
// dialogs use. Included only by *_win32.cpp files.
#pragma once

#include <windows.h>

#include "module.h"

extern HINSTANCE g_moduleInstance; // this DLL; source of the dialog templates
extern HWND g_mainWindow;          // the host's "FS98MAIN" window, or null
extern DWORD g_uiThreadId;         // the thread that ran process attach
extern HANDLE g_workerThread;      // null when creation failed
extern HHOOK g_callWndProcHook;    // WH_CALLWNDPROC, null when not installed
extern HHOOK g_getMessageHook;     // WH_GETMESSAGE, null when not installed

// The worker: sleeps 5000 ms, then ticks the fly-by every 500 ms for ever.
DWORD WINAPI FlyBy_ThreadProc(LPVOID parameter);
