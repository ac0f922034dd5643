// tests/tools/map_tool_test.cpp
// skorvan-map's library: the route and traffic readers, the facility file
// reader in its three shapes, the option rules, and a failed run that
// leaves the old picture whole.
#include "map_tool.h"

#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const char ROUTE_HEADER[] = "point_kind,facility_kind,ident,lat_deg,lon_deg\n";
const char TRAFFIC_HEADER[] = "lat_deg,lon_deg,kind,relative_altitude_ft\n";

// Each route text and what it gives: the number of points, or the message.
TEST(MapRoute, ReadsTheCoreCsvRulesAndNamesFieldAndValue) {
    const struct {
        std::string text;
        int points;
        const char* message;
    } cases[] = {
        {std::string(ROUTE_HEADER) + "0,5,A,47.5,8.5\n1,2,B,47.6,8.6\n", 2, ""},
        {"\xEF\xBB\xBF" + std::string(ROUTE_HEADER) + "0,5,A,47.5,8.5\n", 1, ""},
        {std::string(ROUTE_HEADER) + "0,5,A, 47.5 ,8.5\n", 1, ""},
        {std::string(ROUTE_HEADER) + "   \n\t\n0,5,A,47.5,8.5\n", 1, ""},
        {std::string(ROUTE_HEADER) + "# a note\n\"0\",\"5\",\"A,B\",\"47.5\",\"8.5\"\r\n", 1, ""},
        {std::string(ROUTE_HEADER) + "0,5,A,abc,8.5\n", 0,
         "rt.csv: line 2: lat_deg is 'abc', not a number"},
        {std::string(ROUTE_HEADER) + "0,5,A,47,181\n", 0,
         "rt.csv: line 2: lon_deg is 181, outside -180 to 180"},
        {std::string(ROUTE_HEADER) + "0.5,5,A,47,8\n", 0, "rt.csv: line 2: point_kind"},
        {std::string(ROUTE_HEADER) + "4294967296,5,A,47,8\n", 0, "rt.csv: line 2: point_kind"},
        {std::string(ROUTE_HEADER) + "0,5,A,47\n", 0, "rt.csv: line 2: 4 fields, the header has 5"},
        {"point_kind,ident,lat_deg,lon_deg\n", 0, "the header has no column 'facility_kind'"},
        {"", 0, "rt.csv: the file is empty"},
    };
    for (const auto& c : cases) {
        MapRoute route = {};
        std::string error;
        const bool read = MapInput_ParseRoute(c.text, "rt.csv", &route, &error);
        EXPECT_EQ(read, c.message[0] == '\0') << c.text << " -> " << error;
        if (read) {
            EXPECT_EQ(route.count, c.points) << c.text;
        } else {
            EXPECT_NE(error.find(c.message), std::string::npos) << c.text << " -> " << error;
        }
    }
}

TEST(MapRoute, KeepsValuesAndRefusesAHundredAndFirstPoint) {
    std::string text = ROUTE_HEADER;
    text += "6,2,\"KLO,X\",47.25,-8.5\n";
    MapRoute route = {};
    std::string error;
    ASSERT_TRUE(MapInput_ParseRoute(text, "rt", &route, &error)) << error;
    EXPECT_EQ(route.points[0].pointKind, 6);
    EXPECT_EQ(route.points[0].facility.kind, 2);
    EXPECT_STREQ(route.points[0].facility.ident, "KLO,X");
    EXPECT_DOUBLE_EQ(route.points[0].facility.position.latitude, 47.25 * DEG_TO_RAD);
    EXPECT_DOUBLE_EQ(route.points[0].facility.position.longitude, -8.5 * DEG_TO_RAD);
    for (int i = 1; i < MAP_ROUTE_CAPACITY; ++i)
        text += "0,5,P,47,8\n";
    ASSERT_TRUE(MapInput_ParseRoute(text, "rt", &route, &error)) << error;
    EXPECT_EQ(route.count, MAP_ROUTE_CAPACITY);
    text += "0,5,P,47,8\n";
    EXPECT_FALSE(MapInput_ParseRoute(text, "rt", &route, &error));
    EXPECT_NE(error.find("line 102: a route holds at most 100 points"), std::string::npos) << error;
}

TEST(MapTraffic, KindsAreWholeAndAltitudesPlausible) {
    const struct {
        const char* row;
        bool good;
    } cases[] = {{"47,8,1,100", true},   {"47,8,4,-1500", true},  {"47,8,1e20,100", false},
                 {"47,8,x,100", false},  {"47,8,1,1e300", false}, {"47,8,1,nan", false},
                 {"-91,8,1,100", false}, {"47,8,1,", false}};
    for (const auto& c : cases) {
        std::vector<TrafficTarget> traffic;
        std::string error;
        EXPECT_EQ(MapInput_ParseTraffic(std::string(TRAFFIC_HEADER) + c.row + "\n", "tf", &traffic,
                                        &error),
                  c.good)
            << c.row << " -> " << error;
        EXPECT_EQ(traffic.size(), c.good ? 1u : 0u) << c.row;
    }
}

// A long field is echoed cut, and control characters escaped.
TEST(MapTraffic, EchoedValuesAreCutAndEscaped) {
    const std::string flood(100000, 'x');
    std::vector<TrafficTarget> traffic;
    std::string error;
    EXPECT_FALSE(MapInput_ParseTraffic(
        std::string(TRAFFIC_HEADER) + "47,8,1," + flood + "\x1b[2J\n", "tf", &traffic, &error));
    EXPECT_LT(error.size(), 300u);
    EXPECT_EQ(error.find('\x1b'), std::string::npos) << error;
}

struct Facilities : ::testing::Test {
    FacilityDatabase db = {};
    std::string error;
    void TearDown() override { Facility_FreeDatabase(&db); }
    int32_t Count() const { return db.facilities ? List_Count(db.facilities) : 0; }
};

// Every shape skorvan-facilities writes, empty too, gives no error.
TEST_F(Facilities, EmptyListingsOfEveryShapeGiveNoFacilities) {
    for (const char* text : {"", " \n", "[\n]\n", "\xEF\xBB\xBF[]",
                             "{\"type\":\"FeatureCollection\",\"features\":[\n]}\n",
                             "kind,ident,lat_deg,lon_deg,alt_ft,frequency_mhz,runways\n"}) {
        EXPECT_TRUE(MapFacilities_ParseText(text, &db, &error)) << text << " -> " << error;
        EXPECT_EQ(Count(), 0) << text;
    }
}

TEST_F(Facilities, TheThreeShapesGiveTheSameRecord) {
    const char* texts[] = {
        "\xEF\xBB\xBF[{\"kind\":\"VOR\",\"ident\":\"ZUE\",\"latitude\":47.5,\"longitude\":8.5,"
        "\"altitude\":1312,\"frequency\":110.05}]",
        "{\"type\":\"FeatureCollection\",\"features\":[{\"type\":\"Feature\",\"properties\":"
        "{\"kind\":\"VOR\",\"ident\":\"ZUE\",\"frequency\":110.05},\"geometry\":{\"type\":"
        "\"Point\",\"coordinates\":[8.5,47.5]}},{\"type\":\"Feature\",\"properties\":{\"kind\":"
        "\"RUNWAY\"},\"geometry\":{\"type\":\"LineString\",\"coordinates\":[[8,47],[8.1,47]]}}]}",
        "\xEF\xBB\xBFkind,ident,lat_deg,lon_deg,alt_ft,frequency_mhz,runways\n"
        "VOR,ZUE, 47.5 ,8.5,1312,110.05,0\n",
    };
    for (const char* text : texts) {
        FacilityDatabase one = {};
        ASSERT_TRUE(MapFacilities_ParseText(text, &one, &error)) << text << " -> " << error;
        ASSERT_EQ(List_Count(one.facilities), 1) << text;
        const FacilityRecord* r = static_cast<const FacilityRecord*>(one.facilities->head->item);
        EXPECT_EQ(r->kind, FACILITY_VOR);
        EXPECT_STREQ(r->ident, "ZUE");
        EXPECT_DOUBLE_EQ(r->position.latitude, 47.5 * DEG_TO_RAD);
        EXPECT_DOUBLE_EQ(r->position.longitude, 8.5 * DEG_TO_RAD);
        EXPECT_FLOAT_EQ(r->frequency, 110.05f);
        Facility_FreeDatabase(&one);
    }
}

TEST_F(Facilities, ImplausibleValuesAreRefusedWithWhereAndWhat) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"[{\"kind\":\"VOR\",\"latitude\":47,\"longitude\":8,\"altitude\":1e300}]",
         "record 1: altitude 1e+300 is not within -2000 to 100000 feet"},
        {"[{\"kind\":\"VOR\",\"latitude\":91,\"longitude\":8}]",
         "record 1: latitude 91 is not within -90 to 90"},
        {"[{\"kind\":\"VOR\",\"latitude\":1e999,\"longitude\":8}]", "not valid JSON"},
        {"kind,ident,lat_deg,lon_deg,alt_ft,frequency_mhz\nNDB,A,47,8,-2001,0\n",
         "line 2: altitude -2001 is not within"},
        {"kind,ident,lat_deg,lon_deg,alt_ft,frequency_mhz\nNDB,A,47,8,0,-1\n",
         "line 2: frequency -1 is not a frequency"},
        {"kind,ident,lat_deg,lon_deg,alt_ft,frequency_mhz\nNDB,A,47,8,0x10,0\n",
         "line 2: alt_ft is '0x10', not a number"},
        {"kind,ident,lat_deg,lon_deg,alt_ft,frequency_mhz\nTOWER,A,47,8,0,0\n",
         "line 2: kind 'TOWER' is not VOR, NDB or AIRPORT"},
        {"lat,lon\n1,2\n", "neither JSON, GeoJSON nor skorvan-facilities' CSV"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(MapFacilities_ParseText(c.text, &db, &error)) << c.text;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.text << " -> " << error;
    }
    EXPECT_EQ(Count(), 0);
}

MapOptions Options(const std::string& out) {
    MapOptions o;
    o.out = out;
    o.facilities = "/dev/null";
    o.lat = 47, o.lon = 8;
    return o;
}

TEST(MapOptionsRules, SizesAndRunwaysAreReadWhole) {
    const struct {
        const char* size;
        int width;
    } sizes[] = {{"640x480", 640}, {"4294967312x100", 0}, {"0x100", 0}, {"8001x10", 0},
                 {"12x", 0},       {"16x16junk", 0}};
    for (const auto& c : sizes) {
        MapOptions o = Options("m.png");
        o.size = c.size;
        std::string error;
        EXPECT_EQ(MapOptions_Check(&o, &error), c.width != 0) << c.size << " -> " << error;
        if (c.width) {
            EXPECT_EQ(o.width, c.width);
        }
    }
    MapOptions o = Options("m.png");
    o.runways = {"47.5,8.5,100,3300", "47.6, 8.6 ,280,2500"};
    std::string error;
    ASSERT_TRUE(MapOptions_Check(&o, &error)) << error;
    EXPECT_EQ(o.runwayCount, 2);
    EXPECT_FLOAT_EQ(o.runwayEnds[1].heading, 280);
    for (const char* bad :
         {"47,8,100", "47,8,100,0", "47,8,100,3300,1", "91,8,100,3300", "a,b,c,d"}) {
        MapOptions b = Options("m.png");
        b.runways = {bad};
        EXPECT_FALSE(MapOptions_Check(&b, &error)) << bad;
        EXPECT_NE(error.find("--runway"), std::string::npos) << error;
    }
}

struct MapScratch : ScratchFolder {};

TEST_F(MapScratch, AnOutputNamingAnInputIsRefused) {
    std::ofstream(dir / "rt.csv") << ROUTE_HEADER;
    MapOptions o = Options((dir / "." / "rt.csv").string());
    o.format = "png";
    o.route = (dir / "rt.csv").string();
    std::string error;
    EXPECT_FALSE(MapOptions_Check(&o, &error));
    EXPECT_NE(error.find("is an input of this run"), std::string::npos) << error;
}

TEST_F(MapScratch, AFailedRunLeavesTheOldPictureAndNoTemporaryFile) {
    std::ofstream(dir / "map.png") << "old";
    std::ofstream(dir / "rt.csv") << ROUTE_HEADER << "0,5,A,x,8\n";
    MapOptions o = Options((dir / "map.png").string());
    o.route = (dir / "rt.csv").string();
    std::string error;
    ASSERT_TRUE(MapOptions_Check(&o, &error)) << error;
    EXPECT_EQ(Map_Run(o, &error), CLI_FAILED);
    std::ifstream in(dir / "map.png");
    std::string kept;
    in >> kept;
    EXPECT_EQ(kept, "old");
    int files = 0;
    for (auto it = fs::directory_iterator(dir); it != fs::directory_iterator(); ++it)
        ++files;
    EXPECT_EQ(files, 2);
    // The same run with a good route replaces it by a picture.
    std::ofstream(dir / "rt.csv") << ROUTE_HEADER << "0,5,A,47,8\n";
    EXPECT_EQ(Map_Run(o, &error), 0) << error;
    EXPECT_GT(fs::file_size(dir / "map.png"), 100u);
}

} // namespace
