// dll/worker_win32.cpp
// The worker thread that drives the fly-by, and how it is stopped at unload
// so that its stack and handles are returned without deadlocking on the
// loader lock.
//
// Unloading runs inside process detach, which holds the loader lock; a
// thread cannot end without that lock, so waiting there for the worker to
// *end* would deadlock, and ending it by force (TerminateThread) never frees
// its stack. Instead detach sets the stop event and queues two APCs of the
// system's own functions to the worker, SetEvent(parked) and then
// ExitThread, and waits only for "parked". The worker, once it sees the
// stop event, sleeps alertably; the APCs run in that sleep, so when
// "parked" is set the worker is inside system code and runs none of the
// module's again: its ExitThread waits for the loader lock, gets it once
// the module is gone, and the thread ends with its stack freed. A worker
// whose thread attach has not arrived yet waits for the loader lock we hold
// and has run nothing of ours; queued APCs run before a thread's start
// routine, so it ends without ever entering the module, and detach does not
// wait for it. Detach never waits for anything that needs the loader lock.
#include "dll_win32.h"

#include "../flyby/flyby.h"

#include <initializer_list>

enum {
    WORKER_START_DELAY_MS = 5000,
    WORKER_TICK_PAUSE_MS = 500,
    // A tick takes well under a millisecond; this bounds the wait for one
    // stuck in a host call before falling back to ending it by force.
    WORKER_PARK_TIMEOUT_MS = 5000,
};

// The worker and the two events it is stopped with; all null when it could
// not be created. Written on the thread that loads and unloads the module.
static HANDLE g_workerThread = nullptr;
static DWORD g_workerThreadId = 0;
static HANDLE g_workerStop = nullptr;   // manual reset: set once, at unload
static HANDLE g_workerParked = nullptr; // set by the worker as it parks
// Set inside the loader lock when the worker's thread attach arrives; read
// inside the loader lock at unload, so the two never race.
static bool g_workerAttached = false;

static DWORD WINAPI Worker_ThreadProc(LPVOID) {
    if (WaitForSingleObject(g_workerStop, WORKER_START_DELAY_MS) == WAIT_TIMEOUT) {
        do
            FlyBy_Tick();
        while (WaitForSingleObject(g_workerStop, WORKER_TICK_PAUSE_MS) == WAIT_TIMEOUT);
    }
    // Parked: the two APCs queued at unload run inside this wait: the
    // system's SetEvent tells the unloading thread that the worker is done,
    // then the system's ExitThread ends it. Queued APCs found together run
    // one after the other without returning here; the highest priority is a
    // second guard, keeping the unloading thread, which that SetEvent has
    // just woken, from taking the worker's processor between the two.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    for (;;)
        SleepEx(INFINITE, TRUE);
}

int32_t Worker_Start(void) {
    g_workerStop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_workerParked = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (g_workerStop != nullptr && g_workerParked != nullptr) {
        SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
        g_workerThread =
            CreateThread(&security, 0, Worker_ThreadProc, nullptr, 0, &g_workerThreadId);
    }
    SetThreadPriority(g_workerThread, THREAD_PRIORITY_BELOW_NORMAL);
    g_workerAttached = false;
    return g_workerThread != nullptr;
}

int32_t Worker_Exists(void) {
    return g_workerThread != nullptr;
}

int32_t Worker_NoteThreadAttach(void) {
    if (g_workerThread == nullptr || GetCurrentThreadId() != g_workerThreadId)
        return 0;
    g_workerAttached = true;
    return 1;
}

// Queues a function of the system (never of this module: an APC may run
// after the module is gone) with its argument to the worker.
static int32_t QueueSystemApc(const char* name, ULONG_PTR argument) {
    FARPROC function = GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
    if (function == nullptr)
        return 0;
    return QueueUserAPC(reinterpret_cast<PAPCFUNC>(reinterpret_cast<void (*)(void)>(function)),
                        g_workerThread, argument) != 0;
}

void Worker_Stop(int32_t processEnding) {
    if (g_workerThread != nullptr && !processEnding) {
        // At process end the system has already ended every other thread.
        SetEvent(g_workerStop);
        // Both APCs are queued while the worker is held, so that it finds
        // them together and runs the second straight after the first: were
        // it let go between the two, its sleep could return into this module
        // after "parked" is set, as the module is being unmapped.
        const bool held = SuspendThread(g_workerThread) != static_cast<DWORD>(-1);
        const bool queued =
            QueueSystemApc("SetEvent", reinterpret_cast<ULONG_PTR>(g_workerParked)) &&
            QueueSystemApc("ExitThread", 0);
        if (held)
            ResumeThread(g_workerThread);
        // A worker whose thread attach has not come yet waits for the loader
        // lock we hold and has run nothing of ours: its APCs run before its
        // start routine would, so there is nothing to wait for.
        const bool parked =
            queued &&
            (!g_workerAttached ||
             WaitForSingleObject(g_workerParked, WORKER_PARK_TIMEOUT_MS) == WAIT_OBJECT_0);
        if (!parked)
            TerminateThread(g_workerThread, 0);
    }
    for (HANDLE* handle : {&g_workerThread, &g_workerStop, &g_workerParked}) {
        if (*handle != nullptr)
            CloseHandle(*handle);
        *handle = nullptr;
    }
    g_workerThreadId = 0;
    g_workerAttached = false;
}
