// bench/library_bench.cpp
// Air-data conversions and vector functions of the avionics library; the
// baseline they are compared with is in flyby_bench.cpp (same program).
#include "airdata.h"
#include "geo.h"

#include <benchmark/benchmark.h>

namespace {

double g_altitude = 10000;

void AirData_IsaPressure_Call(benchmark::State& state) {
    for (auto _ : state) {
        g_altitude += 1e-6;
        benchmark::DoNotOptimize(AirData_IsaPressure(36089, g_altitude));
    }
}
BENCHMARK(AirData_IsaPressure_Call);

void AirData_TasFromCas_Call(benchmark::State& state) {
    for (auto _ : state) {
        g_altitude += 1e-6;
        benchmark::DoNotOptimize(AirData_TasFromCas(36089, 250, g_altitude, -20));
    }
}
BENCHMARK(AirData_TasFromCas_Call);

void AirData_DensityAltitude_Call(benchmark::State& state) {
    for (auto _ : state) {
        g_altitude += 1e-6;
        benchmark::DoNotOptimize(AirData_DensityAltitude(36089, g_altitude, 25));
    }
}
BENCHMARK(AirData_DensityAltitude_Call);

void Vec3_CrossAndNormalise_Call(benchmark::State& state) {
    Vector3 a = {1, 2, 3}, b = {4, -5, 6}, c;
    for (auto _ : state) {
        a.x += 1e-9;
        Vec3_Cross(&a, &b, &c);
        Vec3_Normalise(&c);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(Vec3_CrossAndNormalise_Call);

void Geo_RelativeVector_Call(benchmark::State& state) {
    GeoPosition target = {0.8201, 0.1402, EARTH_RADIUS_M};
    const GeoPosition reference = {0.82, 0.14, EARTH_RADIUS_M};
    Vector3 v;
    for (auto _ : state) {
        target.latitude += 1e-12;
        Geo_RelativeVector(&target, &reference, &v);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(Geo_RelativeVector_Call);

void Geo_InterpolateTangent_Call(benchmark::State& state) {
    GeoPosition a = {0.82, 0.14, 3000}, out;
    const GeoPosition b = {0.8205, 0.1406, 5000};
    for (auto _ : state) {
        a.latitude += 1e-12;
        Geo_InterpolateTangent(&a, &b, 0.4, &out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(Geo_InterpolateTangent_Call);

} // namespace
