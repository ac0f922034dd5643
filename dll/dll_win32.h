// dll/dll_win32.h
// The assembly of Skorvan.dll: start-up and shut-down, which bring the
// frame, the fly-by and the user interface together, and the worker thread.
// Private to dll/ (nothing below includes it); included only by *_win32.cpp.
#pragma once

#include <windows.h>

#include <cstdint>

// Defaults and stored settings, the host's window, the camera addresses,
// the worker and the two hooks. Never fails as a whole: each failure is
// shown in a message box and the remaining steps still run.
int32_t Module_Startup(void);
// Saves the settings, removes the hooks and ends the worker.
void Module_Shutdown(void);

// The worker: sleeps 5000 ms, then ticks the fly-by every 500 ms for ever.
DWORD WINAPI Worker_ThreadProc(LPVOID parameter);
