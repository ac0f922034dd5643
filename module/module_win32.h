// module/module_win32.h
// The module-wide Win32 handles of the frame: the DLL's instance and the
// host's main window. dll/ sets them at start-up; ui/ reads them. Included
// only by *_win32.cpp files.
#pragma once

#include <windows.h>

#include "module.h"

extern HINSTANCE g_moduleInstance; // this DLL; source of the dialog templates
extern HWND g_mainWindow;          // the host's "FS98MAIN" window, or null
