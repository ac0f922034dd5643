// module/module_win32.cpp
// The frame's two Win32 handles, defined here so that the menu and dialogs
// (ui/) and the start-up that sets them (dll/) share one owner below both.
#include "module_win32.h"

HINSTANCE g_moduleInstance = nullptr;
HWND g_mainWindow = nullptr;
