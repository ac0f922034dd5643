// bench/facilities_bench.cpp
// Loading a scenery tree of realistic size (1,500 VORs, 2,500 NDBs, 20,000
// airports with 30,000 runways) with Facility_LoadDatabase, next to two
// floors: the bare walk (the system calls alone) and the loader's own walk
// and reads, decoding nothing. The near-list rebuild on that database, and
// the JSON output's number formatting.
#include "bare_walk.h"
#include "dir.h"
#include "facilities.h"
#include "scenery_writer.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <time.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string& SceneryRoot() {
    static const std::string root = [] {
        // Written afresh on every run: a tree left by an older writer would
        // be measured silently otherwise.
        const fs::path path = fs::temp_directory_path() / "skorvan-bench-scenery";
        fs::remove_all(path);
        // A realistic mix: 4,000 navaids (1,500 VORs, 2,500 NDBs) and
        // 20,000 airports with 30,000 runways.
        SceneryTreeCounts counts;
        counts.vors = 1500, counts.ndbs = 2500, counts.airports = 20000, counts.runways = 30000;
        Scenery_WriteTree(path.string(), counts);
        return path.string();
    }();
    return root;
}

int32_t DecodeNothing(FacilityDatabase*, const uint8_t* data, size_t size,
                      FacilityReadReport* report) {
    benchmark::DoNotOptimize(data);
    benchmark::DoNotOptimize(size);
    *report = FacilityReadReport{0, 0};
    return 1;
}

void Floor_BareWalkAndRead(benchmark::State& state) {
    BareBuffer buffer = {};
    size_t bytes = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = Bare_WalkTree(SceneryRoot().c_str(), &buffer));
    Bare_Free(&buffer);
    state.SetLabel(std::to_string(bytes) + " bytes");
}
BENCHMARK(Floor_BareWalkAndRead)->Unit(benchmark::kMillisecond);

// The loader's own walk over the same folders and names, and its reads (one
// open, size query and read per file), decoding nothing.
void LoaderWalk() {
    FacilityDatabase db = {};
    snprintf(db.sceneryRoot, sizeof db.sceneryRoot, "%s", SceneryRoot().c_str());
    Facility_LoadDatabase(&db);
    Facility_FreeDatabase(&db);
}

void Floor_LoaderWalkAndRead(benchmark::State& state) {
    g_facilityDecode = DecodeNothing;
    for (auto _ : state)
        LoaderWalk();
    g_facilityDecode = Facility_ReadBufferReport;
}
BENCHMARK(Floor_LoaderWalkAndRead)->Unit(benchmark::kMillisecond);

// The two walks alternately in each iteration, so that both meet the same
// state of a shared machine, each timed by the thread's own processor time
// (user and system) so that time spent preempted by other work counts for
// neither: the counter is the loader's walk as a multiple of the bare one.
double ThreadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void Walk_LoaderOverBare(benchmark::State& state) {
    g_facilityDecode = DecodeNothing;
    BareBuffer buffer = {};
    double bare = 0, loader = 0;
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        benchmark::DoNotOptimize(Bare_WalkTree(SceneryRoot().c_str(), &buffer));
        const double t1 = ThreadSeconds();
        LoaderWalk();
        const double t2 = ThreadSeconds();
        bare += t1 - t0;
        loader += t2 - t1;
    }
    Bare_Free(&buffer);
    g_facilityDecode = Facility_ReadBufferReport;
    state.counters["ratio"] = loader / bare;
}
BENCHMARK(Walk_LoaderOverBare)->Unit(benchmark::kMillisecond);

void Facility_LoadDatabase_Tree(benchmark::State& state) {
    int32_t count = 0;
    // The warm figure: the heap keeps the pages of the previous load instead
    // of handing them back to the system when it is freed (outside the
    // timing) and faulting them in again within the next load's timing.
    // Whether glibc trims them depends on the order of the frees, not on the
    // loader's work.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    for (auto _ : state) {
        FacilityDatabase db = {};
        snprintf(db.sceneryRoot, sizeof db.sceneryRoot, "%s", SceneryRoot().c_str());
        Facility_LoadDatabase(&db);
        count = List_Count(db.facilities);
        state.PauseTiming();
        Facility_FreeDatabase(&db);
        state.ResumeTiming();
    }
    state.SetLabel(std::to_string(count) + " facilities");
    mallopt(M_TRIM_THRESHOLD, 128 * 1024); // glibc's default
}
BENCHMARK(Facility_LoadDatabase_Tree)->Unit(benchmark::kMillisecond);

// What the records alone cost: the same heap blocks (record, list node,
// runway array) made and filled by copying a loaded database, without
// reading or working anything out.
void Floor_CopyRecords(benchmark::State& state) {
    FacilityDatabase db = {};
    snprintf(db.sceneryRoot, sizeof db.sceneryRoot, "%s", SceneryRoot().c_str());
    Facility_LoadDatabase(&db);
    for (auto _ : state) {
        ObjectList* copy = List_Create(Facility_ReleaseRecord);
        for (const ListNode* node = db.facilities->head; node != nullptr; node = node->next) {
            const FacilityRecord* from = static_cast<const FacilityRecord*>(node->item);
            FacilityRecord* to = static_cast<FacilityRecord*>(calloc(1, sizeof *to));
            *to = *from;
            if (from->kind == FACILITY_AIRPORT && from->runwayCount > 0) {
                const size_t bytes = from->runwayCount * sizeof(RunwayRecord);
                to->runways = static_cast<RunwayRecord*>(malloc(bytes));
                memcpy(to->runways, from->runways, bytes);
            }
            List_Append(copy, to);
        }
        state.PauseTiming();
        List_Destroy(copy);
        state.ResumeTiming();
    }
    Facility_FreeDatabase(&db);
}
BENCHMARK(Floor_CopyRecords)->Unit(benchmark::kMillisecond);

// The geometry the loader cannot skip: two thresholds for each of the
// tree's 30,000 runways, as the reader works them out (one sine-cosine pair
// of the bearing per runway, the opposite end reversed), headings all round.
void Geometry_RunwayThresholds(benchmark::State& state) {
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < 30000; ++i) {
            const GeoPosition centre = {0.8 + i * 1e-6, 0.15, 0};
            GeoShortOrigin prepared;
            Geo_PrepareShortOrigin(&centre, &prepared);
            const double heading = (i * 7919 % 65536) / 65535.0 * 360.0;
            const double bearing = (heading + 180.0) * DEG_TO_RAD;
            const double east = 900 * sin(bearing), north = 900 * cos(bearing);
            GeoPosition p, q;
            Geo_ShortOffsetToPosition(&prepared, east, north, &p);
            Geo_ShortOffsetToPosition(&prepared, -east, -north, &q);
            sum += p.latitude + q.latitude;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(Geometry_RunwayThresholds)->Unit(benchmark::kMillisecond);

void Facility_UpdateNearList_Rebuild(benchmark::State& state) {
    FacilityDatabase db = {};
    snprintf(db.sceneryRoot, sizeof db.sceneryRoot, "%s", SceneryRoot().c_str());
    Facility_LoadDatabase(&db);
    const GeoPosition a = {47.5 * DEG_TO_RAD, 8.5 * DEG_TO_RAD, 0},
                      b = {48.5 * DEG_TO_RAD, 8.5 * DEG_TO_RAD, 0};
    bool flip = false;
    for (auto _ : state) {
        Facility_UpdateNearList(&db, (flip = !flip) ? &a : &b); // a new cell every time
        benchmark::DoNotOptimize(db.nearFacilities);
    }
    Facility_FreeDatabase(&db);
}
BENCHMARK(Facility_UpdateNearList_Rebuild)->Unit(benchmark::kMicrosecond);

// The numbers skorvan-facilities --format json prints for the tree (every
// coordinate, heading, length and frequency), formatted as it once did
// (printf "%.17g" and "%.9g") and as it does now (the shortest text that
// reads back, std::to_chars): the bulk of the tool's run.
template <bool SHORTEST> void Json_FormatTreeNumbers(benchmark::State& state) {
    FacilityDatabase db = {};
    snprintf(db.sceneryRoot, sizeof db.sceneryRoot, "%s", SceneryRoot().c_str());
    Facility_LoadDatabase(&db);
    char text[40];
    size_t bytes = 0;
    const auto d = [&](double v) {
        bytes += SHORTEST
                     ? static_cast<size_t>(std::to_chars(text, text + sizeof text, v).ptr - text)
                     : static_cast<size_t>(snprintf(text, sizeof text, "%.17g", v));
    };
    const auto f = [&](float v) {
        bytes +=
            SHORTEST
                ? static_cast<size_t>(std::to_chars(text, text + sizeof text, v).ptr - text)
                : static_cast<size_t>(snprintf(text, sizeof text, "%.9g", static_cast<double>(v)));
    };
    for (auto _ : state) {
        for (const ListNode* n = db.facilities->head; n != nullptr; n = n->next) {
            const FacilityRecord* r = static_cast<const FacilityRecord*>(n->item);
            d(r->position.latitude * RAD_TO_DEG), d(r->position.longitude * RAD_TO_DEG);
            d(r->position.altitude), f(r->frequency);
            for (int32_t i = 0; i < r->runwayCount; ++i) {
                const RunwayRecord& w = r->runways[i];
                d(w.centre.latitude * RAD_TO_DEG), d(w.centre.longitude * RAD_TO_DEG);
                f(w.heading), f(w.length), f(w.width);
                for (const RunwayEnd* e : {&w.primaryEnd, &w.oppositeEnd}) {
                    d(e->threshold.latitude * RAD_TO_DEG), d(e->threshold.longitude * RAD_TO_DEG);
                    f(e->heading), f(e->length);
                    d(e->aidPosition.latitude * RAD_TO_DEG),
                        d(e->aidPosition.longitude * RAD_TO_DEG);
                    f(e->aidCourse), f(e->aidFrequency);
                }
            }
        }
        benchmark::DoNotOptimize(bytes);
    }
    Facility_FreeDatabase(&db);
}
BENCHMARK(Json_FormatTreeNumbers<false>)
    ->Name("Json_FormatTreeNumbers_Printf")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Json_FormatTreeNumbers<true>)
    ->Name("Json_FormatTreeNumbers_Shortest")
    ->Unit(benchmark::kMillisecond);

} // namespace
