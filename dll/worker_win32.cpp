// dll/worker_win32.cpp
// The worker thread that drives the fly-by. It is terminated at shut-down,
// so it holds no lock and owns nothing that must be released.
#include "dll_win32.h"

#include "../flyby/flyby.h"

enum { WORKER_START_DELAY_MS = 5000, WORKER_TICK_PAUSE_MS = 500 };

DWORD WINAPI Worker_ThreadProc(LPVOID) {
    Sleep(WORKER_START_DELAY_MS);
    for (;;) {
        FlyBy_Tick();
        Sleep(WORKER_TICK_PAUSE_MS);
    }
}
