// tests/tools/scenery_writer_tool_test.cpp
// skorvan-scenery-writer's library: the tree it writes (every byte it
// counts is a file it names), the samples into a new folder, and failures
// that name the path and the reason.
#include "facilities.h"
#include "writer_tool.h"

#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct WriterScratch : ScratchFolder {};

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

const SceneryTreeCounts SMALL = {30, 50, 200, 300, 12};

TEST_F(WriterScratch, TheTreeCountsTheBytesOfEveryFileItsManifestNames) {
    const uint64_t bytes = Scenery_WriteTree(dir.string(), SMALL, 3);
    std::istringstream manifest(ReadText(dir / SCENERY_MANIFEST));
    uint64_t sum = 0;
    int files = 0;
    for (std::string name; std::getline(manifest, name); ++files)
        sum += fs::file_size(dir / name);
    EXPECT_EQ(files, 3 * 2 + 1 + 9); // VOR and NDB files, the decoy, airport files
    EXPECT_GT(bytes, 0u);
    EXPECT_EQ(bytes, sum);
}

TEST_F(WriterScratch, ASeedGivesTheSameTreeAndAnotherSeedAnother) {
    Scenery_WriteTree((dir / "a").string(), SMALL, 5);
    Scenery_WriteTree((dir / "b").string(), SMALL, 5);
    Scenery_WriteTree((dir / "c").string(), SMALL, 6);
    const fs::path file = "SCENEDB/AFDFILES/SCENERY/AP0000.BGL";
    EXPECT_EQ(ReadText(dir / "a" / file), ReadText(dir / "b" / file));
    EXPECT_NE(ReadText(dir / "a" / file), ReadText(dir / "c" / file));
}

// Each failure names the path that failed and why, never just "cannot write".
TEST_F(WriterScratch, FailuresNameThePathAndTheReason) {
    std::ofstream(dir / "file") << "x";
    std::string error;
    EXPECT_EQ(Scenery_WriteTree((dir / "file").string(), SMALL, 1, &error), 0u);
    EXPECT_NE(error.find((dir / "file").string()), std::string::npos) << error;
    EXPECT_NE(error.find(": Not a directory"), std::string::npos) << error;

    error.clear();
    EXPECT_FALSE(Scenery_WriteBytes((dir / "missing" / "x.bgl").string(), {1, 2}, &error));
    EXPECT_EQ(error, (dir / "missing" / "x.bgl").string() + ": No such file or directory");

    error.clear();
    EXPECT_FALSE(Writer_WriteSamples((dir / "file" / "samples").string(), &error));
    EXPECT_NE(error.find((dir / "file" / "samples").string()), std::string::npos) << error;
}

TEST_F(WriterScratch, SamplesGoIntoANewFolderAndReadBackWhole) {
    std::string error;
    const fs::path samples = dir / "new" / "samples";
    ASSERT_TRUE(Writer_WriteSamples(samples.string(), &error)) << error;
    int records = 0;
    for (const char* name : {"vors.bgl", "ndbs.bgl", "airport.bgl", "all.bgl", "awkward.bgl"}) {
        FacilityDatabase db = {};
        const std::string bytes = ReadText(samples / name);
        FacilityReadReport report = {};
        Facility_ReadBufferReport(&db, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                  &report);
        EXPECT_EQ(report.damage, 0) << name;
        records += report.records;
        Facility_FreeDatabase(&db);
    }
    EXPECT_EQ(records, 2 + 3 + 1 + 6 + 4);
}

TEST_F(WriterScratch, RunRefusesAFileAsRootAndAForeignSceneryFolder) {
    std::ofstream(dir / "file") << "x";
    fs::create_directories(dir / "sim" / "SCENEDB");
    WriterOptions options;
    std::string error;
    options.root = (dir / "file").string();
    EXPECT_EQ(Writer_Run(options, &error), 1);
    EXPECT_EQ(error, options.root + " is not a folder");
    options.root = (dir / "sim").string();
    EXPECT_EQ(Writer_Run(options, &error), 1);
    EXPECT_NE(error.find("was not written by this tool"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_empty(dir / "sim" / "SCENEDB"));
}

} // namespace
