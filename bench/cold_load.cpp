// bench/cold_load.cpp
// skorvan_cold_load ROOT: the first Facility_LoadDatabase in a fresh
// process (a heap that has not grown yet, code and data not yet touched, the
// allocator at its default settings), as the simulator's module would load
// its scenery once; then the bare walk over the same files five times in
// the same process, the baseline. Prints the load's milliseconds and the
// median bare walk's; scripts/bench runs it in several processes.
#include "bare_walk.h"
#include "facilities.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: skorvan_cold_load SCENERY_ROOT\n");
        return 2;
    }
    FacilityDatabase db = {};
    if (snprintf(db.sceneryRoot, sizeof db.sceneryRoot, "%s", argv[1]) >=
        static_cast<int>(sizeof db.sceneryRoot)) {
        fprintf(stderr, "skorvan_cold_load: the path is too long\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    Facility_LoadDatabase(&db);
    const double loadMs = MillisecondsSince(start);
    const int32_t count = db.facilities ? List_Count(db.facilities) : 0;
    Facility_FreeDatabase(&db);
    if (count == 0) {
        fprintf(stderr, "skorvan_cold_load: no facilities below %s\n", argv[1]);
        return 1;
    }
    BareBuffer buffer = {};
    double bareMs[5];
    for (double& ms : bareMs) {
        const auto walk = std::chrono::steady_clock::now();
        if (Bare_WalkTree(argv[1], &buffer) == 0) {
            fprintf(stderr, "skorvan_cold_load: the bare walk read nothing below %s\n", argv[1]);
            return 1;
        }
        ms = MillisecondsSince(walk);
    }
    Bare_Free(&buffer);
    std::sort(bareMs, bareMs + 5);
    printf("%.3f %.3f\n", loadMs, bareMs[2]);
    return 0;
}
