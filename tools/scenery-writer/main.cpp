// tools/scenery-writer/main.cpp
// skorvan-scenery-writer: writes a scenery tree of realistic size (or a
// small one) for the facility tools, the moving map and the benchmarks.
#include "scenery_writer.h"

#include <cstdio>
#include <cstdlib>
#include <string>

// A few small files, each with another section or feature.
static int WriteSamples(const std::string& folder) {
    SceneryFile vors, ndbs, airports, all;
    vors.vors = {{41, 47.5, 8.5, 400, "ZUE"}, {0, 10, -20, 0, "AB"}};
    vors.skippedEntries = true;
    ndbs.ndbs = {{46, 7, 500, "NDB1"}, {45, 6, 0, "K"}, {44, 5, 0, "KL"}};
    SceneryAirport a{"LSZH", 47.46, 8.55, {}};
    a.subs.push_back({2, 47.46, 8.55, Scenery_HeadingWord(100), 12000, 200, 1, 10});
    ScenerySub aid{4, 47.45, 8.60, Scenery_HeadingWord(100)};
    aid.side = 2, aid.integerBcd = 0x0110, aid.fractionBcd = 0x3500, aid.ident = "IZH";
    a.subs.push_back(aid);
    a.subs.push_back({2, 47.47, 8.54, Scenery_HeadingWord(340), 8000, 150, 0, 34});
    airports.airports = {a};
    all.vors = vors.vors, all.ndbs = ndbs.ndbs, all.airports = airports.airports;
    const std::pair<const char*, const SceneryFile*> files[] = {
        {"vors.bgl", &vors}, {"ndbs.bgl", &ndbs}, {"airport.bgl", &airports}, {"all.bgl", &all}};
    for (const auto& [name, file] : files)
        if (!Scenery_WriteBytes(folder + "/" + name, Scenery_BuildFile(*file))) {
            fprintf(stderr, "skorvan-scenery-writer: cannot write %s/%s\n", folder.c_str(), name);
            return 1;
        }
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') {
        fputs("usage: skorvan-scenery-writer ROOT [--small] [--seed N]\n"
              "       skorvan-scenery-writer FOLDER --samples   (a few small files: the fuzzer's "
              "seeds)\n"
              "Writes ROOT/SCENEDB/EASTHEM, WESTHEM and AFDFILES/SCENERY with about 3,000 VORs,\n"
              "5,000 NDBs and 20,000 airports with 30,000 runways (--small: a hundredth).\n",
              argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    SceneryTreeCounts counts;
    unsigned seed = 1;
    bool samples = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--samples") {
            samples = true;
        } else if (arg == "--small") {
            counts = SceneryTreeCounts{30, 50, 200, 300, 12};
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = static_cast<unsigned>(strtoul(argv[++i], nullptr, 10));
        } else {
            fprintf(stderr, "skorvan-scenery-writer: unknown option %s\n", arg.c_str());
            return 2;
        }
    }
    if (samples)
        return WriteSamples(argv[1]);
    const uint64_t bytes = Scenery_WriteTree(argv[1], counts, seed);
    if (bytes == 0) {
        fprintf(stderr, "skorvan-scenery-writer: could not write below %s\n", argv[1]);
        return 1;
    }
    printf("wrote %d VORs, %d NDBs, %d airports with %d runways (%llu bytes) below %s\n",
           counts.vors, counts.ndbs, counts.airports, counts.runways,
           static_cast<unsigned long long>(bytes), argv[1]);
    return 0;
}
