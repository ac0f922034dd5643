// bench/cold_load.cpp
// skorvan_cold_load ROOT: the first Facility_LoadDatabase in a fresh
// process (a heap that has not grown yet, code and data not yet touched),
// as the simulator's module would load its scenery once. Prints the load's
// wall-clock milliseconds; scripts/bench runs it in several processes and
// sets the median beside the benchmark's warm figure.
#include "facilities.h"

#include <chrono>
#include <cstdio>

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
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const int32_t count = db.facilities ? List_Count(db.facilities) : 0;
    Facility_FreeDatabase(&db);
    if (count == 0) {
        fprintf(stderr, "skorvan_cold_load: no facilities below %s\n", argv[1]);
        return 1;
    }
    printf("%.3f\n", ms);
    return 0;
}
