// bench/map_bench.cpp
// Map_Draw of 5,000 near facilities, two full routes and 100 traffic
// targets into a device that only counts its calls (a counter, nothing
// else), per point drawn, next to the baseline of the sphere point alone
// (Geo_ToEarthVector) for the same number of points: once with every
// facility inside the canvas (each drawn as a symbol with its label) and
// once with every facility outside it (projected and left out).
#include "map.h"
#include "map_recorder.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {

const int FACILITIES = 5000, TRAFFIC = 100;
const int POINTS = FACILITIES + 2 * MAP_ROUTE_CAPACITY + TRAFFIC;

struct BigScene {
    std::vector<FacilityRecord> records;
    MapContext context = {};
    std::unique_ptr<MapScene> scene{new MapScene()};
    std::vector<TrafficTarget> traffic;
    // inside: the facilities within 25 km of the centre (the canvas shows
    // 40 km each way); otherwise 45 to 125 km east of it.
    explicit BigScene(bool inside) {
        std::mt19937 random(9);
        std::uniform_real_distribution<double> d(-0.02, 0.02), near(-0.0039, 0.0039),
            east(0.0071, 0.0196);
        const double lat = 47 * DEG_TO_RAD, lon = 8 * DEG_TO_RAD;
        records.resize(FACILITIES);
        context.facilities.nearFacilities = List_Create(nullptr);
        List_SetBorrowed(context.facilities.nearFacilities, 1);
        for (int i = 0; i < FACILITIES; ++i) {
            records[i].kind = 1 + (i % 3 == 2 ? 4 : i % 2);
            records[i].ident[0] = static_cast<char>('A' + i % 26);
            records[i].position =
                inside ? GeoPosition{lat + near(random), lon + near(random) / cos(lat), 0}
                       : GeoPosition{lat + near(random), lon + east(random) / cos(lat), 0};
            List_Append(context.facilities.nearFacilities, &records[i]);
        }
        MapScene& s = *scene;
        s.ownLatitude = lat, s.ownLongitude = lon, s.mapRange = 20000, s.mapScale = 400;
        s.showVor = s.showNdb = s.showAirports = 1;
        for (MapRoute* route : {&s.route, &s.secondaryRoute}) {
            route->count = MAP_ROUTE_CAPACITY;
            for (int i = 0; i < MAP_ROUTE_CAPACITY; ++i) {
                route->points[i].pointKind = i % 9;
                route->points[i].facility.kind = 2;
                route->points[i].facility.position =
                    GeoPosition{lat + d(random), lon + d(random), 0};
            }
        }
        for (int i = 0; i < TRAFFIC; ++i)
            traffic.push_back({lat + d(random), lon + d(random), i % 5, (i - 50) * 100.0});
        s.traffic = traffic.data(), s.trafficCount = TRAFFIC;
    }
    ~BigScene() { List_Destroy(context.facilities.nearFacilities); }
};

void Baseline_SpherePointPerMapPoint(benchmark::State& state) {
    BigScene big(true);
    for (auto _ : state) {
        Vector3 sum = {0, 0, 0}, v;
        for (const FacilityRecord& r : big.records) {
            const GeoPosition p = {r.position.latitude, r.position.longitude, EARTH_RADIUS_M};
            Geo_ToEarthVector(&p, &v);
            sum.x += v.x;
        }
        for (int i = 0; i < 2 * MAP_ROUTE_CAPACITY + TRAFFIC; ++i) {
            const GeoPosition p = {big.scene->ownLatitude + i * 1e-6, big.scene->ownLongitude,
                                   EARTH_RADIUS_M};
            Geo_ToEarthVector(&p, &v);
            sum.x += v.x;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
}
BENCHMARK(Baseline_SpherePointPerMapPoint)->Unit(benchmark::kMicrosecond);

void Map_Draw_5000Facilities(benchmark::State& state) {
    BigScene big(state.range(0) != 0);
    MapRecorder recorder;
    recorder.recording = false; // count only: a counter per call
    const MapCanvas canvas = MapRecorder_Canvas(&recorder, 800, 800);
    for (auto _ : state)
        Map_Draw(&big.context, &canvas, big.scene.get());
    state.SetItemsProcessed(state.iterations() * POINTS);
    state.SetLabel(std::to_string(recorder.count / std::max<int64_t>(1, state.iterations())) +
                   " device calls a pass");
}
BENCHMARK(Map_Draw_5000Facilities)
    ->ArgName("inside")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond);

} // namespace
