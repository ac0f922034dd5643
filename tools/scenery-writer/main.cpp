// tools/scenery-writer/main.cpp
// skorvan-scenery-writer: writes a scenery tree of realistic size (or a
// small one) for the facility tools, the moving map and the benchmarks.
#include "scenery_writer.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') {
        fputs("usage: skorvan-scenery-writer ROOT [--small] [--seed N]\n"
              "Writes ROOT/SCENEDB/EASTHEM, WESTHEM and AFDFILES/SCENERY with about 3,000 VORs,\n"
              "5,000 NDBs and 20,000 airports with 30,000 runways (--small: a hundredth).\n",
              argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    SceneryTreeCounts counts;
    unsigned seed = 1;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--small") {
            counts = SceneryTreeCounts{30, 50, 200, 300, 12};
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = static_cast<unsigned>(strtoul(argv[++i], nullptr, 10));
        } else {
            fprintf(stderr, "skorvan-scenery-writer: unknown option %s\n", arg.c_str());
            return 2;
        }
    }
    const uint64_t bytes = Scenery_WriteTree(argv[1], counts, seed);
    if (bytes == 0) {
        fprintf(stderr, "skorvan-scenery-writer: could not write below %s\n", argv[1]);
        return 1;
    }
    printf("wrote %d VORs, %d NDBs, %d airports with %d runways (%llu bytes) below %s\n", counts.vors, counts.ndbs,
           counts.airports, counts.runways, static_cast<unsigned long long>(bytes), argv[1]);
    return 0;
}
