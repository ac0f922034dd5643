// tests/unit/facility_database_test.cpp
// The scenery folder walk (order, names, which files are read) and the
// near list, on trees the scenery writer makes in a scratch folder.
#include "facilities.h"
#include "scenery_writer.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

SceneryFile OneVor(const char* ident, double latDeg = 47, double lonDeg = 8) {
    SceneryFile f;
    f.vors.push_back({10, latDeg, lonDeg, 0, ident});
    return f;
}

struct ScratchTree : ::testing::Test {
    fs::path root;
    FacilityDatabase db = {};
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() / (std::string("skorvan-") + info->name());
        fs::remove_all(root);
        fs::create_directories(root / "SCENEDB" / "AFDFILES" / "SCENERY" / "SUB");
        fs::create_directories(root / "SCENEDB" / "EASTHEM" / "EUR");
        fs::create_directories(root / "SCENEDB" / "WESTHEM");
        snprintf(db.sceneryRoot, sizeof db.sceneryRoot, "%s", root.string().c_str());
    }
    void TearDown() override {
        Facility_FreeDatabase(&db);
        fs::remove_all(root);
    }
    void Write(const fs::path& relative, const SceneryFile& file) {
        ASSERT_TRUE(Scenery_WriteBytes((root / relative).string(), Scenery_BuildFile(file)));
    }
    std::vector<std::string> Idents(const ObjectList* list) const {
        std::vector<std::string> out;
        for (const ListNode* n = list ? list->head : nullptr; n; n = n->next)
            out.push_back(static_cast<const FacilityRecord*>(n->item)->ident);
        return out;
    }
};

TEST_F(ScratchTree, WalksEastWestThenAirportFilesAndReadsTheRightNames) {
    Write("SCENEDB/WESTHEM/west_vor.bgl", OneVor("WEST"));    // lower case: read
    Write("SCENEDB/EASTHEM/EUR/EU_NDB.BGL", OneVor("SUBEA")); // in a subfolder: read
    Write("SCENEDB/EASTHEM/AIRPORTS.BGL", OneVor("SKIP1"));   // neither VOR nor NDB
    Write("SCENEDB/EASTHEM/VOR.TXT", OneVor("SKIP2"));        // no .BGL
    Write("SCENEDB/AFDFILES/SCENERY/anything.dat", OneVor("FLAT"));
    Write("SCENEDB/AFDFILES/SCENERY/SUB/VOR.BGL", OneVor("SKIP3")); // no recursion there
    EXPECT_EQ(Facility_LoadDatabase(&db), 1);
    EXPECT_EQ(db.loaded, 1);
    EXPECT_EQ(Idents(db.facilities), (std::vector<std::string>{"SUBEA", "WEST", "FLAT"}));
    // Loading again appends everything again.
    Facility_LoadDatabase(&db);
    EXPECT_EQ(List_Count(db.facilities), 6);
}

// The navaid folders are walked depth first: a subfolder is read whole
// before the walk goes on with its parent's next entry, whatever order the
// directory gives its entries in.
TEST_F(ScratchTree, NavFoldersAreWalkedDepthFirst) {
    fs::create_directories(root / "SCENEDB" / "EASTHEM" / "A" / "DEEP" / "DEEPER");
    fs::create_directories(root / "SCENEDB" / "EASTHEM" / "B" / "DEEPB");
    Write("SCENEDB/EASTHEM/A/A_VOR.BGL", OneVor("AA"));
    Write("SCENEDB/EASTHEM/A/DEEP/D_VOR.BGL", OneVor("DD"));
    Write("SCENEDB/EASTHEM/A/DEEP/DEEPER/E_VOR.BGL", OneVor("EE"));
    Write("SCENEDB/EASTHEM/B/B_VOR.BGL", OneVor("BB"));
    Write("SCENEDB/EASTHEM/B/DEEPB/F_VOR.BGL", OneVor("FF"));
    Write("SCENEDB/EASTHEM/C_VOR.BGL", OneVor("CC"));
    Facility_LoadDatabase(&db);
    const auto idents = Idents(db.facilities);
    ASSERT_EQ(idents.size(), 6u);
    const auto at = [&idents](const char* ident) {
        return std::find(idents.begin(), idents.end(), ident) - idents.begin();
    };
    // A's subtree (AA, DD, EE) is contiguous, DEEP's (DD, EE) too.
    const auto lowA = std::min({at("AA"), at("DD"), at("EE")}),
               highA = std::max({at("AA"), at("DD"), at("EE")});
    EXPECT_EQ(highA - lowA, 2);
    EXPECT_EQ(std::abs(at("DD") - at("EE")), 1);
    EXPECT_EQ(std::abs(at("BB") - at("FF")), 1);
}

#ifndef _WIN32
// Links to folders are not followed: a link to ".." once made the walk
// endless, a link to "." read every record again.
TEST_F(ScratchTree, LinksToFoldersAreNotFollowed) {
    Write("SCENEDB/EASTHEM/EUR/EU_VOR.BGL", OneVor("EUR"));
    Write("SCENEDB/WESTHEM/W_VOR.BGL", OneVor("WEST"));
    fs::create_directory_symlink("..", root / "SCENEDB" / "EASTHEM" / "EUR" / "UP");
    fs::create_directory_symlink(".", root / "SCENEDB" / "WESTHEM" / "SELF");
    fs::create_symlink(root / "SCENEDB" / "WESTHEM" / "W_VOR.BGL",
                       root / "SCENEDB" / "EASTHEM" / "LINK_VOR.BGL"); // a file: read
    Facility_LoadDatabase(&db);
    auto idents = Idents(db.facilities);
    std::sort(idents.begin(), idents.end());
    EXPECT_EQ(idents, (std::vector<std::string>{"EUR", "WEST", "WEST"}));
}
#endif

struct DamageSeen {
    std::vector<std::string> paths;
    std::vector<int32_t> damage;
};

void RecordDamage(const char* path, const FacilityReadReport* report, void* context) {
    DamageSeen* seen = static_cast<DamageSeen*>(context);
    seen->paths.push_back(path);
    seen->damage.push_back(report->damage);
}

TEST_F(ScratchTree, DamagedFilesReachTheCallbackWithItsContext) {
    Write("SCENEDB/EASTHEM/A_VOR.BGL", OneVor("WHOLE"));
    std::vector<uint8_t> cut = Scenery_BuildFile(OneVor("CUT"));
    cut.resize(100); // shorter than the header
    ASSERT_TRUE(Scenery_WriteBytes((root / "SCENEDB/EASTHEM/B_VOR.BGL").string(), cut));
    DamageSeen seen, other;
    Facility_SetDamageCallback(RecordDamage, &other);
    Facility_SetDamageCallback(RecordDamage, &seen); // the last one set is used
    Facility_LoadDatabase(&db);
    Facility_SetDamageCallback(nullptr, nullptr);
    const char sep = FACILITY_PATH_SEPARATOR;
    const std::string expected =
        std::string(db.sceneryRoot) + sep + "SCENEDB" + sep + "EASTHEM" + sep + "B_VOR.BGL";
    EXPECT_EQ(seen.paths, std::vector<std::string>{expected});
    EXPECT_EQ(seen.damage, std::vector<int32_t>{FACILITY_DAMAGE_HEADER});
    EXPECT_TRUE(other.paths.empty());
    EXPECT_EQ(Idents(db.facilities), std::vector<std::string>{"WHOLE"});
    // Dropped: a second load reports to no one.
    Facility_LoadDatabase(&db);
    EXPECT_EQ(seen.paths.size(), 1u);
}

// Files the walk finds but cannot read, and paths too long to join, reach
// the callback as unreadable with the whole path; the readable file beside
// them is still read.
TEST_F(ScratchTree, UnreadableFilesAndOverlongPathsReachTheCallback) {
    Write("SCENEDB/EASTHEM/A_VOR.BGL", OneVor("WHOLE"));
    const char sep = FACILITY_PATH_SEPARATOR;
    const std::string east = std::string(db.sceneryRoot) + sep + "SCENEDB" + sep + "EASTHEM";
    std::vector<std::string> expected;
#ifndef _WIN32
    // A pipe named like a scenery file: never opened for a blocking read.
    ASSERT_EQ(mkfifo((root / "SCENEDB/EASTHEM/B_VOR.BGL").c_str(), 0644), 0);
    expected.push_back(east + sep + "B_VOR.BGL");
    // A folder whose own path fits but whose files' paths cannot (Windows'
    // own limit would refuse to make the file).
    const std::string deepName(FACILITY_PATH_SIZE - east.size() - 8, 'd');
    fs::create_directories(fs::path(east) / deepName);
    expected.push_back(east + sep + deepName + sep + "C_VOR.BGL");
    Write(fs::path("SCENEDB/EASTHEM") / deepName / "C_VOR.BGL", OneVor("DEEP"));
#endif
    const std::string longName = std::string(FACILITY_PATH_SIZE, 'n') + "_VOR.BGL";
    DamageSeen seen;
    Facility_SetDamageCallback(RecordDamage, &seen);
    Facility_LoadDatabase(&db);
    Facility_ReadFile(&db, east.c_str(), longName.c_str());
    Facility_SetDamageCallback(nullptr, nullptr);
    expected.push_back(east + sep + longName);
    std::vector<std::string> paths = seen.paths;
    std::sort(paths.begin(), paths.end() - 1); // the walk's order is the folder's
    std::sort(expected.begin(), expected.end() - 1);
    EXPECT_EQ(paths, expected);
    EXPECT_EQ(seen.damage, std::vector<int32_t>(expected.size(), FACILITY_DAMAGE_UNREADABLE));
    EXPECT_EQ(Idents(db.facilities), std::vector<std::string>{"WHOLE"});
}

TEST_F(ScratchTree, MissingFoldersAndOverlongPathsAddNothing) {
    fs::remove_all(root / "SCENEDB");
    EXPECT_EQ(Facility_LoadDatabase(&db), 1);
    EXPECT_EQ(db.loaded, 1);
    EXPECT_EQ(List_Count(db.facilities), 0);
    const std::string deep(FACILITY_PATH_SIZE - 5, 'x');
    EXPECT_EQ(Facility_ScanNavFolder(&db, deep.c_str()), 1);
    EXPECT_EQ(Facility_ReadFile(&db, deep.c_str(), "VOR.BGL"), 1);
    EXPECT_EQ(List_Count(db.facilities), 0);
}

// The walk joins folder and name into FACILITY_PATH_SIZE characters with
// its terminator: a path of FACILITY_PATH_SIZE - 1 characters is read, one a
// character longer is skipped, never cut short to another file's name.
TEST_F(ScratchTree, ThePathLimitFallsBetweenTheLongestPathAndOneLonger) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows' own path limit refuses the longer file before the walk sees it";
#else
    std::string folder = root.string();
    const std::string shortName = "A_VOR.BGL", longName = "AB_VOR.BGL";
    // Three separators: before each filler folder and before the name.
    const size_t fill = FACILITY_PATH_SIZE - 1 - folder.size() - shortName.size() - 3;
    folder += '/' + std::string(fill / 2, 'f') + '/' + std::string(fill - fill / 2, 'g');
    ASSERT_EQ(folder.size() + 1 + shortName.size(), size_t{FACILITY_PATH_SIZE - 1});
    fs::create_directories(folder);
    ASSERT_TRUE(Scenery_WriteBytes(folder + '/' + shortName, Scenery_BuildFile(OneVor("FITS"))));
    ASSERT_TRUE(Scenery_WriteBytes(folder + '/' + longName, Scenery_BuildFile(OneVor("LONG"))));
    EXPECT_EQ(Facility_ReadFile(&db, folder.c_str(), shortName.c_str()), 1);
    EXPECT_EQ(Facility_ReadFile(&db, folder.c_str(), longName.c_str()), 1);
    EXPECT_EQ(Idents(db.facilities), std::vector<std::string>{"FITS"});
#endif
}

TEST_F(ScratchTree, NearListUsesAnAsymmetricWholeDegreeWindow) {
    GeoPosition here = {47.9 * DEG_TO_RAD, 8.2 * DEG_TO_RAD, 0};
    EXPECT_EQ(Facility_UpdateNearList(&db, &here), 0); // not loaded yet
    EXPECT_EQ(db.nearFacilities, nullptr);

    SceneryFile f;
    // Just inside the cell edges: the packing keeps about 2e-5 degrees.
    f.vors = {{1, 42.0001, 8, 0, "LAT42"}, {2, 41.9, 8, 0, "LAT41"},   {3, 53.9, 8, 0, "LAT53"},
              {4, 54.0001, 8, 0, "LAT54"}, {5, 47, 3.0001, 0, "LON3"}, {6, 47, 2.9, 0, "LON2"},
              {7, 47, 14.9, 0, "LON14"},   {8, 47, 15.0, 0, "LON15"}};
    Write("SCENEDB/EASTHEM/A_VOR.BGL", f);
    Facility_LoadDatabase(&db);
    EXPECT_EQ(Facility_UpdateNearList(&db, &here), 1);
    EXPECT_EQ(db.nearCellLatitude, 47);
    EXPECT_EQ(db.nearCellLongitude, 8);
    EXPECT_EQ(Idents(db.nearFacilities),
              (std::vector<std::string>{"LAT42", "LAT53", "LON3", "LON14"}));
    EXPECT_EQ(List_GetBorrowed(db.nearFacilities), 1);

    // The same cell: no rebuild.
    const ObjectList* built = db.nearFacilities;
    here.latitude = 47.1 * DEG_TO_RAD;
    EXPECT_EQ(Facility_UpdateNearList(&db, &here), 1);
    EXPECT_EQ(db.nearFacilities, built);
    here.latitude = 48.1 * DEG_TO_RAD;
    Facility_UpdateNearList(&db, &here);
    EXPECT_EQ(Idents(db.nearFacilities),
              (std::vector<std::string>{"LAT53", "LAT54", "LON3", "LON14"}));
}

TEST_F(ScratchTree, AZeroedDatabaseBuildsItsFirstNearListInCellZero) {
    SceneryFile f;
    f.vors = {{1, 10, 179.5, 0, "FAR"}, {2, 0.5, 0.5, 0, "ZERO"}, {3, -0.5, 5.5, 0, "EAST5"}};
    Write("SCENEDB/EASTHEM/B_VOR.BGL", f);
    Facility_LoadDatabase(&db); // db was zeroed: stored cell (0, 0), no list
    GeoPosition origin = {0.4 * DEG_TO_RAD, -0.4 * DEG_TO_RAD, 0};
    EXPECT_EQ(Facility_UpdateNearList(&db, &origin), 1);
    ASSERT_NE(db.nearFacilities, nullptr);
    EXPECT_EQ(Idents(db.nearFacilities), (std::vector<std::string>{"ZERO", "EAST5"}));
    const ObjectList* built = db.nearFacilities;
    EXPECT_EQ(Facility_UpdateNearList(&db, &origin), 1); // built once
    EXPECT_EQ(db.nearFacilities, built);
}

// The window's longitudes are taken modulo 360: what lies just across the
// 180° meridian is near, from either side, and so is a position given
// beyond ±180°. The facility list's order is kept.
TEST_F(ScratchTree, TheNearWindowReachesAcrossTheDateLine) {
    SceneryFile f;
    f.vors = {{1, 10, 179.5, 0, "E1795"}, {2, 10, -179.5, 0, "W1795"}, {3, 10, 176.2, 0, "E1762"},
              {4, 10, 175.5, 0, "E1755"}, {5, 10, -175.5, 0, "W1755"}, {6, 10, -173.5, 0, "W1735"},
              {7, 10, 0.5, 0, "ZERO"},    {8, 10, 10.5, 0, "E105"}};
    Write("SCENEDB/EASTHEM/C_VOR.BGL", f);
    Facility_LoadDatabase(&db);
    struct Case {
        double lonDeg;
        std::vector<std::string> near;
    } cases[] = {
        // Cell -179: 179 E is 2 cells west, 176 E 5, 175 E 6 (out); -173 is 6 east.
        {-179.5, {"E1795", "W1795", "E1762", "W1755", "W1735"}},
        // Cell 179: -179 is 2 cells east, -175 6, -173 8 (out).
        {179.5, {"E1795", "W1795", "E1762", "E1755", "W1755"}},
        {-355.5, {"ZERO", "E105"}}, // cell -355 is cell 5 modulo 360
        {4.5, {"ZERO", "E105"}},
        {90.5, {}},
    };
    for (const Case& c : cases) {
        GeoPosition here = {10.5 * DEG_TO_RAD, c.lonDeg * DEG_TO_RAD, 0};
        EXPECT_EQ(Facility_UpdateNearList(&db, &here), 1);
        EXPECT_EQ(Idents(db.nearFacilities), c.near) << "at longitude " << c.lonDeg;
    }
}

TEST_F(ScratchTree, RealisticTreeLoadsEveryRecordItWrote) {
    SceneryTreeCounts counts;
    counts.vors = 60, counts.ndbs = 80, counts.airports = 200, counts.runways = 300,
    counts.files = 12;
    fs::remove_all(root / "SCENEDB");
    Scenery_WriteTree(root.string(), counts);
    Facility_LoadDatabase(&db);
    int kinds[6] = {};
    int runways = 0;
    for (const ListNode* n = db.facilities->head; n; n = n->next) {
        const FacilityRecord* r = static_cast<const FacilityRecord*>(n->item);
        ++kinds[r->kind];
        runways += r->runwayCount;
    }
    EXPECT_EQ(kinds[FACILITY_VOR], 60);
    EXPECT_EQ(kinds[FACILITY_NDB], 80);
    EXPECT_EQ(kinds[FACILITY_AIRPORT], 200);
    EXPECT_EQ(runways, 300);
}

} // namespace
