// tools/scenery-writer/main.cpp
// skorvan-scenery-writer: writes a scenery tree of realistic size (or a
// small one) for the facility tools, the moving map and the benchmarks.
#include "writer_tool.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

static int Fail(const std::string& message, int status) {
    fprintf(stderr, "skorvan-scenery-writer: %s\n", message.c_str());
    return status;
}

static int WriteSamples(const WriterOptions& o) {
    std::error_code ignored;
    std::string error;
    if (!fs::is_directory(o.root, ignored))
        return Fail(o.root + " is not a folder", 1);
    return Writer_WriteSamples(o.root, &error) ? 0 : Fail(error, 1);
}

static int WriteTree(const WriterOptions& o) {
    std::error_code ignored;
    // Replace a tree of ours; never touch a simulator's own scenery.
    if (fs::exists(fs::path(o.root) / "SCENEDB", ignored) && !Scenery_RemoveTree(o.root))
        return Fail(o.root + "/SCENEDB exists and was not written by this tool; choose another "
                             "folder",
                    1);
    const SceneryTreeCounts counts =
        o.small ? SceneryTreeCounts{30, 50, 200, 300, 12} : SceneryTreeCounts{};
    const uint64_t bytes = Scenery_WriteTree(o.root, counts, o.seedValue);
    if (bytes == 0)
        return Fail("could not write the tree below " + o.root, 1);
    if (!o.quiet)
        printf("wrote %d VORs, %d NDBs, %d airports with %d runways (%llu bytes) below %s\n",
               counts.vors, counts.ndbs, counts.airports, counts.runways,
               static_cast<unsigned long long>(bytes), o.root.c_str());
    return 0;
}

// An exception out of here (std::bad_alloc, or CLI11 refusing an option
// declared wrongly, a programming error; Cli_Parse catches the user's
// mistakes and the readers their input's) ends the program through
// std::terminate with a failing status.
int main(int argc, char** argv) { // NOLINT(bugprone-exception-escape)
    CLI::App app("Writes a scenery tree to try the facility tools and the moving map on.",
                 "skorvan-scenery-writer");
    WriterOptions options;
    WriterOptions_Add(app, &options);
    const int parsed = Cli_Parse(app, argc, argv);
    if (parsed >= 0)
        return parsed;
    std::string error;
    if (!WriterOptions_Check(&options, &error))
        return Fail(error, 2);
    std::error_code ignored;
    if (fs::exists(options.root, ignored) && !fs::is_directory(options.root, ignored))
        return Fail(options.root + " is not a folder", 1);
    return Cli_Finish(app, options.samples ? WriteSamples(options) : WriteTree(options));
}
