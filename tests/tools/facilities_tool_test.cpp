// tests/tools/facilities_tool_test.cpp
// skorvan-facilities' library: its three formats, what it reads (one file,
// a pipe, a tree with a file it cannot read) and its run, which leaves an
// old listing whole when the job fails.
#include "facilities_tool.h"
#include "scenery_writer.h"

#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string Bytes(const SceneryFile& file) {
    const std::vector<uint8_t> b = Scenery_BuildFile(file);
    return std::string(b.begin(), b.end());
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The awkward identifiers, a VOR packed past the pole and an airport.
SceneryFile Awkward() {
    SceneryFile file;
    file.vors = {{10, 120, 10, 300, "A,\"B"}};
    file.ndbs = {{46.5, 7.5, 200, "C\nD"}};
    file.airports = {{"E\"F", 46.2, 6.1, {}}};
    return file;
}

struct Printed : ::testing::Test {
    FacilitiesInput in;
    FacilitiesOut out; // no file: the whole text stays in out.buffer
    void SetUp() override {
        FacilitiesInput_ReadBytes(Bytes(Awkward()), "awkward", &in);
        ASSERT_EQ(in.damagedFiles, 0);
    }
    void TearDown() override { Facility_FreeDatabase(&in.db); }
};

TEST_F(Printed, CsvQuotesIdentifiersWithCommasQuotesAndLineBreaks) {
    Facilities_PrintCsv(&out, in.db.facilities);
    std::istringstream lines(out.buffer);
    std::string header, vor;
    std::getline(lines, header);
    std::getline(lines, vor);
    EXPECT_EQ(header, "kind,ident,lat_deg,lon_deg,alt_ft,frequency_mhz,runways");
    EXPECT_EQ(vor.substr(0, 13), "VOR,\"A,\"\"B\",1");
    EXPECT_NE(out.buffer.find("NDB,\"C\nD\","), std::string::npos) << out.buffer;
    EXPECT_NE(out.buffer.find("AIRPORT,\"E\"\"F\","), std::string::npos) << out.buffer;
}

TEST_F(Printed, JsonEscapesQuotesAndControlCharacters) {
    Facilities_PrintJson(&out, in.db.facilities);
    EXPECT_NE(out.buffer.find("\"ident\":\"A,\\\"B\""), std::string::npos) << out.buffer;
    EXPECT_NE(out.buffer.find("\"ident\":\"C\\u000aD\""), std::string::npos) << out.buffer;
    EXPECT_EQ(out.buffer.find("inf"), std::string::npos);
    EXPECT_EQ(out.buffer.front(), '[');
}

// 120 degrees packed is 60 degrees seen from the other side of the pole.
TEST_F(Printed, GeoJsonCoordinatesStayOnTheEarth) {
    Facilities_PrintGeoJson(&out, in.db.facilities);
    const size_t vor = out.buffer.find("\"coordinates\":[");
    ASSERT_NE(vor, std::string::npos);
    double lon = 0, lat = 0;
    ASSERT_EQ(sscanf(out.buffer.c_str() + vor + 15, "%lf,%lf", &lon, &lat), 2);
    EXPECT_NEAR(lat, 60, 1e-4);
    EXPECT_NEAR(lon, -170, 1e-4);
}

// Empty, cut-short and whole inputs as one file: only the first two count
// as damaged, and the cut one still gives what lies before the cut.
TEST(FacilitiesBytes, EmptyAndCutFilesCountAsDamaged) {
    const std::string whole = Bytes(Awkward());
    const struct {
        std::string bytes;
        int damaged;
    } cases[] = {{"", 1}, {whole.substr(0, 100), 1}, {whole, 0}};
    for (const auto& c : cases) {
        FacilitiesInput in;
        FacilitiesInput_ReadBytes(c.bytes, "case", &in);
        EXPECT_EQ(in.damagedFiles, c.damaged) << c.bytes.size() << " bytes";
        Facility_FreeDatabase(&in.db);
    }
}

TEST(FacilitiesDamage, UnreadableFilesSayWhy) {
    const FacilityReadReport unreadable = {FACILITY_DAMAGE_UNREADABLE, 0};
    const std::string longPath(FACILITY_PATH_SIZE + 3, 'p');
    EXPECT_NE(Facilities_DamageText(longPath.c_str(), &unreadable).find("longer than the 259"),
              std::string::npos);
    const std::string missing = (fs::temp_directory_path() / "skorvan-no-such-file").string();
    EXPECT_EQ(Facilities_DamageText(missing.c_str(), &unreadable),
              missing + ": cannot be read (No such file or directory); nothing read from it");
    const FacilityReadReport cut = {FACILITY_DAMAGE_VOR | FACILITY_DAMAGE_AIRPORT, 3};
    EXPECT_EQ(Facilities_DamageText("x.bgl", &cut),
              "x.bgl: damaged, VOR section cut short, airport section cut short; 3 records "
              "read from it");
}

struct FacilitiesScratch : ScratchFolder {
    FacilitiesOptions options;
    std::string error;
    void Write(const fs::path& path, const std::string& bytes) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
};

TEST_F(FacilitiesScratch, AnOutputNamingTheInputIsAUsageError) {
    Write(dir / "a.bgl", Bytes(Awkward()));
    options.input = (dir / "a.bgl").string();
    options.out = (dir / "." / "a.bgl").string();
    EXPECT_FALSE(FacilitiesOptions_Check(&options, &error));
    EXPECT_NE(error.find("is an input of this run"), std::string::npos) << error;
    options.out = (dir / "b.json").string();
    EXPECT_TRUE(FacilitiesOptions_Check(&options, &error)) << error;
}

TEST_F(FacilitiesScratch, NearTakesTwoNumbersOnTheEarth) {
    const struct {
        const char* text;
        bool good;
    } cases[] = {{"47.45,8.55", true}, {" 47 , 8 ", true}, {"91,0", false},   {"0,181", false},
                 {"nan,0", false},     {"47", false},      {"47,8,9", false}, {"0x10,0", false}};
    for (const auto& c : cases) {
        FacilitiesOptions o;
        o.input = "x";
        o.near = c.text;
        EXPECT_EQ(FacilitiesOptions_Check(&o, &error), c.good) << c.text << ": " << error;
    }
}

// A damaged single file fails the job, and the listing it would have
// replaced is left as it was.
TEST_F(FacilitiesScratch, ADamagedFileLeavesTheOldListingWhole) {
    Write(dir / "cut.bgl", Bytes(Awkward()).substr(0, 200));
    Write(dir / "listing.json", "the old listing");
    options.input = (dir / "cut.bgl").string();
    options.out = (dir / "listing.json").string();
    options.quiet = true;
    EXPECT_EQ(Facilities_Run(options, &error), CLI_FAILED);
    EXPECT_EQ(ReadText(dir / "listing.json"), "the old listing");
    EXPECT_EQ(fs::directory_iterator(dir) != fs::directory_iterator(), true);
    size_t files = 0;
    for (auto it = fs::directory_iterator(dir); it != fs::directory_iterator(); ++it)
        ++files;
    EXPECT_EQ(files, 2u) << "a temporary file was left behind";
}

TEST_F(FacilitiesScratch, MissingInputsAndFoldersWithoutSceneryAreRefused) {
    options.input = (dir / "missing.bgl").string();
    FacilitiesInput in;
    EXPECT_FALSE(FacilitiesInput_Read(options, &in, &error));
    EXPECT_EQ(error, options.input + " does not exist");
    options.input = dir.string();
    EXPECT_FALSE(FacilitiesInput_Read(options, &in, &error));
    EXPECT_NE(error.find("has no SCENEDB folder"), std::string::npos) << error;
    Facility_FreeDatabase(&in.db);
}

#ifndef _WIN32
// A pipe given as the one file is read whole, as a file would be.
TEST_F(FacilitiesScratch, APipeIsReadWhole) {
    const fs::path fifo = dir / "pipe.bgl";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const std::string bytes = Bytes(Awkward());
    std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << bytes; });
    options.input = fifo.string();
    FacilitiesInput in;
    const bool read = FacilitiesInput_Read(options, &in, &error);
    writer.join();
    EXPECT_TRUE(read) << error;
    EXPECT_TRUE(in.singleFile);
    EXPECT_EQ(in.damagedFiles, 0);
    EXPECT_EQ(List_Count(in.db.facilities), 3);
    Facility_FreeDatabase(&in.db);
}

// In a tree, a file that cannot be read is counted with the damaged ones
// and the rest is still read.
TEST_F(FacilitiesScratch, AnUnreadableFileInATreeIsCounted) {
    SceneryFile one;
    one.vors = {{10, 47, 8, 0, "ONE"}};
    Write(dir / "SCENEDB/EASTHEM/A_VOR.BGL", Bytes(one));
    ASSERT_EQ(mkfifo((dir / "SCENEDB/EASTHEM/B_VOR.BGL").c_str(), 0644), 0);
    options.input = dir.string();
    options.quiet = true;
    FacilitiesInput in;
    ASSERT_TRUE(FacilitiesInput_Read(options, &in, &error)) << error;
    EXPECT_FALSE(in.singleFile);
    EXPECT_EQ(in.damagedFiles, 1);
    EXPECT_EQ(List_Count(in.db.facilities), 1);
    Facility_FreeDatabase(&in.db);
}
#endif

} // namespace
