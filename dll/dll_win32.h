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
// Saves the settings, closes the module's dialogs and pop-up, removes the
// hooks and stops the worker. processEnding: the whole process is ending
// (its other threads are already gone), not just this module unloading.
void Module_Shutdown(int32_t processEnding);

// The worker: waits 5000 ms, then ticks the fly-by every 500 ms until
// stopped. Worker_Start returns 0 when the thread could not be created.
int32_t Worker_Start(void);
int32_t Worker_Exists(void);
// Called at every thread attach; 1 when it was the worker's own.
int32_t Worker_NoteThreadAttach(void);
// Stops the worker and returns its resources (see worker_win32.cpp for why
// this cannot deadlock on the loader lock).
void Worker_Stop(int32_t processEnding);
