// tools/scenery-writer/main.cpp
// skorvan-scenery-writer: writes a scenery tree of realistic size (or a
// small one) for the facility tools, the moving map and the benchmarks.
#include "scenery_writer.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

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

static const char* const USAGE =
    "usage: skorvan-scenery-writer ROOT [--small] [--seed N]\n"
    "       skorvan-scenery-writer FOLDER --samples   (a few small files: the fuzzer's seeds)\n"
    "Writes ROOT/SCENEDB/EASTHEM, WESTHEM and AFDFILES/SCENERY with about 3,000 VORs,\n"
    "5,000 NDBs and 20,000 airports with 30,000 runways (--small: a hundredth). A tree\n"
    "this tool wrote before is replaced; a SCENEDB it did not write is left alone.\n";

static int Fail(const std::string& message, int status = 1) {
    fprintf(stderr, "skorvan-scenery-writer: %s\n", message.c_str());
    return status;
}

int main(int argc, char** argv) {
    SceneryTreeCounts counts;
    unsigned seed = 1;
    bool samples = false;
    std::string root;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            fputs(USAGE, stdout);
            return 0;
        } else if (arg == "--samples") {
            samples = true;
        } else if (arg == "--small") {
            counts = SceneryTreeCounts{30, 50, 200, 300, 12};
        } else if (arg == "--seed") {
            char* end = nullptr;
            const char* text = i + 1 < argc ? argv[++i] : "";
            const unsigned long value = strtoul(text, &end, 10);
            if (*text < '0' || *text > '9' || *end != '\0' || value > 0xFFFFFFFFul)
                return Fail("--seed needs a whole number from 0 to 4294967295, not '" +
                                std::string(text) + "'",
                            2);
            seed = static_cast<unsigned>(value);
        } else if (!arg.empty() && arg[0] == '-') {
            return Fail("unknown option " + arg + "\n" + USAGE, 2);
        } else if (root.empty() && !arg.empty()) {
            root = arg;
        } else {
            return Fail(arg.empty() ? "ROOT is empty" : "one ROOT only, not also " + arg, 2);
        }
    }
    if (root.empty())
        return Fail(std::string("no ROOT given\n") + USAGE, 2);
    std::error_code error;
    if (fs::exists(root, error) && !fs::is_directory(root, error))
        return Fail(root + " is not a folder");
    if (samples) {
        if (!fs::is_directory(root, error))
            return Fail(root + " is not a folder");
        return WriteSamples(root);
    }
    if (fs::exists(fs::path(root) / "SCENEDB", error)) {
        // Replace a tree of ours; never touch a simulator's own scenery.
        if (!Scenery_RemoveTree(root))
            return Fail(root + "/SCENEDB exists and was not written by this tool; choose another "
                               "folder");
    }
    const uint64_t bytes = Scenery_WriteTree(root, counts, seed);
    if (bytes == 0)
        return Fail("could not write the tree below " + root);
    printf("wrote %d VORs, %d NDBs, %d airports with %d runways (%llu bytes) below %s\n",
           counts.vors, counts.ndbs, counts.airports, counts.runways,
           static_cast<unsigned long long>(bytes), root.c_str());
    return 0;
}
