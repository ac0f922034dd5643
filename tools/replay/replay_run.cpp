// tools/replay/replay_run.cpp
// Drives the real fly-by engine over a track: a simulated millisecond clock,
// a host function table whose entry 40 answers from the track, and camera
// words in the tool's own memory.
#include "replay.h"

#include "flyby.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The simulated host, one replay at a time (the engine itself is module-wide).
struct ReplayHost {
    const std::vector<TrackSample>* track;
    TrackCursor cursor; // the ticks' times only rise
    double nowS;        // simulation time of the current tick
    uint32_t nowMs;     // the millisecond counter the engine reads
    std::vector<CameraWrite>* writes;
    void* table[64];
    uint8_t camera[32];
};
ReplayHost g_replay;

uint32_t ReplayClock() {
    return g_replay.nowMs;
}

void HOST_STDCALL ReplayRefresh(HostVariable* variable) {
    const TrackSample s = Track_At(*g_replay.track, g_replay.nowS, &g_replay.cursor);
    double v = 0;
    switch (variable->tokenId) {
    case HOST_TOKEN_CLOCK:
        v = floor((g_replay.nowS - g_replay.track->front().tS) * 1000.0); // whole ms, as the host
        break;
    case HOST_TOKEN_LATITUDE:
        v = s.latDeg * GEO_LATITUDE_UNITS_PER_DEGREE;
        break;
    case HOST_TOKEN_LONGITUDE:
        v = s.lonDeg / 360.0 * 281474976710656.0;
        break;
    case HOST_TOKEN_ALTITUDE:
        v = s.altFt / GEO_FEET_PER_METRE;
        break;
    case HOST_TOKEN_HEADING:
        v = s.headingDeg;
        break;
    case HOST_TOKEN_PITCH:
        v = s.pitchDeg;
        break;
    case HOST_TOKEN_GROUND_SPEED:
        v = s.groundSpeedKmh;
        break;
    }
    variable->value = v;
}

template <typename T> T Word(int offset) {
    T v;
    memcpy(&v, g_replay.camera + offset, sizeof v);
    return v;
}

// Each write of the camera words, as the engine left them.
void RecordWrite(const GeoPosition* p) {
    CameraWrite w;
    w.tS = g_replay.nowS;
    w.placed = true; // corrected after the tick for travelling shifts
    w.latDeg = p->latitude * RAD_TO_DEG;
    w.lonDeg = remainder(p->longitude * RAD_TO_DEG, 360.0);
    w.altFt = p->altitude;
    w.latFraction = Word<uint32_t>(CAMERA_OFFSET_LATITUDE_FRACTION);
    w.latWhole = Word<int32_t>(CAMERA_OFFSET_LATITUDE_WHOLE);
    w.lonFraction = Word<uint32_t>(CAMERA_OFFSET_LONGITUDE_FRACTION);
    w.lonWhole = Word<int32_t>(CAMERA_OFFSET_LONGITUDE_WHOLE);
    w.altM = Word<int16_t>(CAMERA_OFFSET_ALTITUDE);
    w.aircraft = Track_At(*g_replay.track, g_replay.nowS, &g_replay.cursor);
    g_replay.writes->push_back(w);
}

} // namespace

std::vector<CameraWrite> Replay_Run(const std::vector<TrackSample>& track,
                                    const ReplaySettings& settings, int tickMs,
                                    const ReplayWatch& watch) {
    std::vector<CameraWrite> writes;
    const double spanS = track.empty() ? 0 : track.back().tS - track.front().tS;
    if (track.empty() || tickMs <= 0 || !std::isfinite(spanS) || spanS > TRACK_MAX_SPAN_S)
        return writes;
    // The ticks are counted from the flight's own length, never found by
    // adding to its start time: at a start of 1e300 s, adding 5 s changes
    // nothing and a loop on the time would never end.
    const double spanMs = floor(spanS * 1000.0);
    const int64_t ticks =
        spanMs < 5000 ? 0 : static_cast<int64_t>((spanMs - 5000) / static_cast<double>(tickMs)) + 1;
    g_replay = ReplayHost{};
    g_replay.track = &track;
    g_replay.table[HOST_ENTRY_REFRESH] = reinterpret_cast<void*>(ReplayRefresh);

    FlyBy_ResetState();
    Settings_Set(g_flyBySettings.FlyByActive, settings.active);
    Settings_Set(g_flyBySettings.FlyByDuration, settings.duration);
    Settings_Set(g_flyBySettings.FlyByRelAltitude, settings.relAltitude);
    Settings_Set(g_flyBySettings.FlyByMinDistance, settings.minDistance);
    Settings_Set(g_flyBySettings.FlyByCameraPlacement, settings.placement);
    Settings_Set(g_flyBySettings.FlyByTravelling, settings.travelling);
    Settings_Set(g_flyBySettings.FlyByFollowTurn, settings.followTurn);
    ImportTable[0].functionTable = g_replay.table;
    Camera_SetOutputAddresses(reinterpret_cast<uintptr_t>(g_replay.camera));
    Clock_SetSource(ReplayClock);
    g_replay.writes = &writes;
    Camera_SetObserver(RecordWrite);

    // As in the simulator: the counter has run a while before the module
    // loads, and the worker's first tick comes 5 s after loading.
    const uint32_t loadMs = 600000;
    const int64_t progressEveryMs = std::max<int64_t>(tickMs, static_cast<int64_t>(spanS * 10));
    for (int64_t tick = 0; tick < ticks; ++tick) {
        const int64_t tickAtMs = 5000 + tick * tickMs;
        g_replay.nowS = track.front().tS + static_cast<double>(tickAtMs) / 1000.0;
        g_replay.nowMs = loadMs + static_cast<uint32_t>(tickAtMs);
        const size_t before = writes.size();
        FlyBy_Tick();
        // With travelling on, every running tick ends with a shift; a write
        // before it in the same tick is a new fly-by point.
        if (settings.travelling != 0 && writes.size() > before)
            writes.back().placed = false;
        if (watch.write)
            for (size_t i = before; i < writes.size(); ++i)
                watch.write(writes[i]);
        if (watch.progress && tickAtMs % progressEveryMs < tickMs)
            watch.progress(static_cast<double>(tickAtMs) / 1000.0 / spanS);
    }
    Camera_SetObserver(nullptr);
    Clock_SetSource(nullptr);
    Camera_SetOutputAddresses(0);
    ImportTable[0].functionTable = nullptr;
    return writes;
}
