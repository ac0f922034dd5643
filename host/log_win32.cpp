// host/log_win32.cpp
// The stand-in's clock and its CSV log: lines written at once by the UI
// thread, and a ring for events raised on the module's threads.
#include "host_win32.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

// A thread the module terminates must never die holding a lock or a FILE
// that the host needs afterwards, so its events wait here lock-free until
// the UI thread writes them.
struct RingEvent {
    int64_t tMs;
    uint32_t kind; // 0 refresh, otherwise the entry number
    uint32_t token;
    int32_t argument;
    double value;
};
enum { RING_SIZE = 1 << 16 };

static RingEvent g_ring[RING_SIZE];
static std::atomic<uint32_t> g_ringWritten{0};
static uint32_t g_ringRead = 0;

static LARGE_INTEGER g_startCounter, g_counterFrequency;
static FILE* g_log = nullptr;
static bool g_live = false;

void HostLog_StartClock() {
    QueryPerformanceFrequency(&g_counterFrequency);
    QueryPerformanceCounter(&g_startCounter);
}

int64_t HostLog_NowMs() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (now.QuadPart - g_startCounter.QuadPart) * 1000 / g_counterFrequency.QuadPart;
}

bool HostLog_Open(const std::string& path, bool live) {
    g_live = live;
    if (path.empty())
        return true;
    g_log = fopen(path.c_str(), "w");
    return g_log != nullptr;
}

bool HostLog_Close() {
    if (!g_log)
        return true;
    const bool written = !ferror(g_log);
    const bool closed = fclose(g_log) == 0;
    g_log = nullptr;
    return written && closed;
}

bool HostLog_IsLive() {
    return g_live;
}

void HostLog_Line(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (g_log) {
        fprintf(g_log, "%lld,%s\n", static_cast<long long>(HostLog_NowMs()), text);
        fflush(g_log);
    }
}

void HostLog_Say(const char* format, ...) {
    if (!g_live)
        return;
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    printf("%7.2f s  %s\n", static_cast<double>(HostLog_NowMs()) / 1000.0, text);
    fflush(stdout);
}

void HostLog_Push(uint32_t kind, uint32_t token, int32_t argument, double value) {
    const uint32_t index = g_ringWritten.load(std::memory_order_relaxed);
    if (index - g_ringRead >= RING_SIZE) // full: the UI thread has stalled; drop
        return;
    g_ring[index % RING_SIZE] = RingEvent{HostLog_NowMs(), kind, token, argument, value};
    g_ringWritten.store(index + 1, std::memory_order_release);
}

void HostLog_Drain() {
    const uint32_t written = g_ringWritten.load(std::memory_order_acquire);
    for (; g_ringRead != written; ++g_ringRead) {
        const RingEvent& e = g_ring[g_ringRead % RING_SIZE];
        if (!g_log)
            continue;
        if (e.kind == 0)
            fprintf(g_log, "%lld,refresh,0x%02X,%.17g\n", static_cast<long long>(e.tMs), e.token,
                    e.value);
        else
            fprintf(g_log, "%lld,entry,%u,%u,%d\n", static_cast<long long>(e.tMs), e.kind, e.token,
                    e.argument);
    }
    if (g_log)
        fflush(g_log);
}
