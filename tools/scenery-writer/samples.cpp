// tools/scenery-writer/samples.cpp
// A few small scenery files, each with another section or feature: the
// fuzzer's seeds, and identifiers and positions the output formats must
// carry whole (commas, quotes and a line break in identifiers, a VOR
// packed past the pole).
#include "writer_tool.h"

#include <cstdio>
#include <filesystem>

static SceneryFile Awkward() {
    SceneryFile file;
    file.vors = {{10, 120, 10, 300, "A,\"B"}, {12, 45, 7, 300, "PLAIN"}};
    file.ndbs = {{46.5, 7.5, 200, "C\nD"}};
    file.airports = {{"E\"F", 46.2, 6.1, {}}};
    return file;
}

bool Writer_WriteSamples(const std::string& folder, std::string* error) {
    std::error_code failed;
    std::filesystem::create_directories(folder, failed);
    if (failed)
        return *error = folder + ": " + failed.message(), false;
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
    const SceneryFile awkward = Awkward();
    const std::pair<const char*, const SceneryFile*> files[] = {{"vors.bgl", &vors},
                                                                {"ndbs.bgl", &ndbs},
                                                                {"airport.bgl", &airports},
                                                                {"all.bgl", &all},
                                                                {"awkward.bgl", &awkward}};
    for (const auto& [name, file] : files)
        if (!Scenery_WriteBytes(folder + "/" + name, Scenery_BuildFile(*file), error))
            return *error = "cannot write " + *error, false;
    return true;
}
