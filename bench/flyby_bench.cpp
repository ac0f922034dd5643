// bench/flyby_bench.cpp
// Cost of a fly-by tick and of the two geodesy calls it makes, each next to
// a baseline measured in the same run: one sin/cos pair per call. Compare
// the ratios, not the times (scripts/bench prints them).
#include "flyby.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>

namespace {

double g_angle = 0.7;

void Baseline_SinCosPair(benchmark::State& state) {
    double sum = 0;
    for (auto _ : state) {
        g_angle += 1e-9;
        sum += sin(g_angle) + cos(g_angle);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(Baseline_SinCosPair);

void Geo_OffsetToPosition_Call(benchmark::State& state) {
    GeoPosition origin = {0.82, 0.14, 3000}, out;
    const Vector3 offset = {100, 0, 1000};
    for (auto _ : state) {
        origin.latitude += 1e-12;
        Geo_OffsetToPosition(&origin, &offset, &out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(Geo_OffsetToPosition_Call);

void Geo_DistanceBearing_Call(benchmark::State& state) {
    GeoPosition from = {0.82, 0.14, 0};
    const GeoPosition to = {0.8201, 0.1402, 0};
    double distance, bearing;
    for (auto _ : state) {
        from.latitude += 1e-12;
        Geo_DistanceBearing(&from, &to, &distance, &bearing);
        benchmark::DoNotOptimize(distance);
        benchmark::DoNotOptimize(bearing);
    }
}
BENCHMARK(Geo_DistanceBearing_Call);

// A host that answers at once, a clock that moves 500 ms per tick, and
// settings that make every tick place the camera and travel: the most a
// tick ever does.
uint32_t g_nowMs = 0;
uint32_t BenchClock() {
    return g_nowMs;
}
void HOST_STDCALL InstantRefresh(HostVariable* variable) {
    switch (variable->tokenId) {
    case HOST_TOKEN_CLOCK:
        variable->value = g_nowMs;
        break;
    case HOST_TOKEN_LATITUDE:
        variable->value = 47 * GEO_LATITUDE_UNITS_PER_DEGREE;
        break;
    case HOST_TOKEN_LONGITUDE:
        variable->value = 8 / 360.0 * 281474976710656.0 + g_nowMs;
        break;
    case HOST_TOKEN_GROUND_SPEED:
        variable->value = 360;
        break;
    case HOST_TOKEN_HEADING: // turning 3 degrees a second
        variable->value = fmod(g_nowMs * 0.003, 360.0);
        break;
    default:
        variable->value = 0;
    }
}

// followTurn 0 is the tick as it always was; 1 lays every point on the
// predicted turn (the heading turns 3 degrees a second).
void FlyBy_Tick_PlaceAndTravel(benchmark::State& state) {
    static void* table[64];
    static uint8_t camera[32];
    table[HOST_ENTRY_REFRESH] = reinterpret_cast<void*>(InstantRefresh);
    ImportTable[0].functionTable = table;
    Camera_SetOutputAddresses(reinterpret_cast<uintptr_t>(camera));
    Clock_SetSource(BenchClock);
    FlyBy_ResetState();
    Settings_SetDefaults();
    Settings_Set(g_flyBySettings.FlyByDuration, 0);
    Settings_Set(g_flyBySettings.FlyByTravelling, 1);
    Settings_Set(g_flyBySettings.FlyByFollowTurn, static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        g_nowMs += 500;
        FlyBy_Tick();
    }
    benchmark::DoNotOptimize(camera);
    Clock_SetSource(nullptr);
}
BENCHMARK(FlyBy_Tick_PlaceAndTravel)->ArgName("followTurn")->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
