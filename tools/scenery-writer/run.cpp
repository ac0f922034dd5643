// tools/scenery-writer/run.cpp
// skorvan-scenery-writer once its options are checked: the sample files, or
// a whole tree that replaces one this tool wrote before.
#include "writer_tool.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

static int WriteTree(const WriterOptions& o, std::string* error) {
    std::error_code ignored;
    // Replace a tree of ours; never touch a simulator's own scenery.
    if (fs::exists(fs::path(o.root) / "SCENEDB", ignored) && !Scenery_RemoveTree(o.root))
        return *error = o.root + "/SCENEDB exists and was not written by this tool; choose "
                                 "another folder",
               1;
    const SceneryTreeCounts counts =
        o.small ? SceneryTreeCounts{30, 50, 200, 300, 12} : SceneryTreeCounts{};
    std::string reason;
    const uint64_t bytes = Scenery_WriteTree(o.root, counts, o.seedValue, &reason);
    if (bytes == 0)
        return *error = "could not write the tree below " + o.root + ": " + reason, 1;
    if (!o.quiet)
        printf("wrote %d VORs, %d NDBs, %d airports with %d runways (%llu bytes) below %s\n",
               counts.vors, counts.ndbs, counts.airports, counts.runways,
               static_cast<unsigned long long>(bytes), o.root.c_str());
    return 0;
}

int Writer_Run(const WriterOptions& o, std::string* error) {
    std::error_code ignored;
    if (fs::exists(o.root, ignored) && !fs::is_directory(o.root, ignored))
        return *error = o.root + " is not a folder", 1;
    if (o.samples)
        return Writer_WriteSamples(o.root, error) ? 0 : 1;
    return WriteTree(o, error);
}
