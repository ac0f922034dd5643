// tests/unit/map_test.cpp
// The moving map through the recording device: symbol geometry, the
// detail limit, runway outlines, traffic labels, the projection and the
// drawing pass's visibility rules.
#include "map.h"
#include "map_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

const double R = 6367310.0;

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Where a label was written: its x, y (or -99999 when it was not).
std::pair<int, int> TextAt(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& l : lines) {
        int x, y;
        char found[64];
        if (sscanf(l.c_str(), "text %d,%d %63s", &x, &y, found) == 3 && text == found)
            return {x, y};
    }
    return {-99999, -99999};
}

int Count(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

TEST(MapSymbols, TriangleSizeAndLabelPlace) {
    MapRecorder rec;
    const MapCanvas canvas = MapRecorder_Canvas(&rec, 400, 400);
    Map_DrawTriangle(&canvas, 100, 100, 200, 10000, "ABC", MAP_MAGENTA);
    EXPECT_EQ(MapRecorder_Lines(rec),
              (std::vector<std::string>{
                  "select magentaPen", "select hollowBrush", "move 100,92", "line 92,108",
                  "line 108,108", "line 100,92", "select labelFont", "transparent",
                  "colour " + std::to_string(MAP_MAGENTA), "text 110,80 ABC"}));
}

// Points far off the canvas saturate at the 32-bit limits instead of
// wrapping (a conversion out of range is undefined behaviour).
TEST(MapSymbols, PointsFarOffTheCanvasSaturate) {
    MapRecorder rec;
    const MapCanvas canvas = MapRecorder_Canvas(&rec, 400, 400);
    Map_DrawTriangle(&canvas, 1.09609e10, -3e12, 200, 95000, "N", MAP_GREEN);
    Map_DrawTriangle(&canvas, NAN, 10, 200, 95000, "M", MAP_GREEN);
    const auto lines = MapRecorder_Lines(rec);
    EXPECT_TRUE(Has(lines, "pixel 2147483647,-2147483648," + std::to_string(MAP_GREEN)));
    EXPECT_TRUE(Has(lines, "pixel 0,10," + std::to_string(MAP_GREEN)));
}

TEST(MapSymbols, BeyondTheDetailLimitSymbolsArePixels) {
    MapRecorder rec;
    const MapCanvas canvas = MapRecorder_Canvas(&rec, 400, 400);
    Map_DrawTriangle(&canvas, 10.7, 20.2, 200, 95000, "N", MAP_GREEN);
    Map_DrawCircleTicks(&canvas, 30, 40, 200, 95000, "V", MAP_GREEN);
    Map_DrawDiamond(&canvas, 50, 60, 200, 100000, "W", MAP_GREEN);
    Map_DrawStar(&canvas, 70, 80, 200, 95000, "A", MAP_RED);
    Map_DrawRiseMark(&canvas, 0, 0, 200); // marks keep their shape
    const auto lines = MapRecorder_Lines(rec);
    EXPECT_TRUE(Has(lines, "pixel 10,20," + std::to_string(MAP_GREEN)));
    EXPECT_TRUE(Has(lines, "pixel 30,40," + std::to_string(MAP_MAGENTA)));
    EXPECT_TRUE(Has(lines, "pixel 50,60," + std::to_string(MAP_MAGENTA)));
    EXPECT_TRUE(Has(lines, "pixel 70,80," + std::to_string(MAP_RED)));
    EXPECT_EQ(Count(lines, "text"), 0);
    EXPECT_TRUE(Has(lines, "line 20,-10"));
}

TEST(MapSymbols, RunwayOutlineRunsAlongItsHeadingFromTheThreshold) {
    MapRecorder rec;
    const MapCanvas canvas = MapRecorder_Canvas(&rec, 400, 400);
    Map_DrawRunway(&canvas, 200, 300, 200, 0, 6000, 0, 3000, MAP_WHITE);
    // 3000 m at 200 px per 6000 m: 100 px long, 25 px wide, straight up.
    // (The half turn of DEG_TO_RAD is not exactly pi, so corners land a hair
    // off the whole pixel and truncate to one either side.)
    const auto& calls = rec.calls;
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls[0].text, "defaultPen");
    const int x[4] = {calls[2].args[0], calls[3].args[0], calls[4].args[0], calls[5].args[0]};
    const int y[4] = {calls[2].args[1], calls[3].args[1], calls[4].args[1], calls[5].args[1]};
    EXPECT_NEAR(x[0], 212, 1);
    EXPECT_NEAR(x[1], 187, 1);
    EXPECT_NEAR(y[0], 300, 1);
    EXPECT_NEAR(y[2], 200, 1);
    EXPECT_NEAR(x[0] - x[1], 25, 1);
    EXPECT_NEAR(y[1] - y[2], 100, 1);
    EXPECT_EQ(calls[6].args, calls[2].args); // closed
    rec.calls.clear();
    Map_DrawRunway(&canvas, 200, 300, 200, 0, 95000, 0, 3000, MAP_WHITE);
    EXPECT_EQ(Count(MapRecorder_Lines(rec), "line"), 0);
}

TEST(MapSymbols, TrafficSymbolsAndAltitudeLabels) {
    MapRecorder rec;
    const MapCanvas canvas = MapRecorder_Canvas(&rec, 400, 400);
    TrafficTarget below = {0, 0, 1, -20}, level = {0, 0, 4, 0}, none = {0, 0, 0, 5000},
                  high = {0, 0, 3, 3500};
    Map_DrawTraffic(&canvas, 100, 100, 200, &none);
    EXPECT_TRUE(rec.calls.empty());
    Map_DrawTraffic(&canvas, 100, 100, 200, &below);
    Map_DrawTraffic(&canvas, 100, 100, 200, &level);
    Map_DrawTraffic(&canvas, 100, 100, 200, &high);
    const auto lines = MapRecorder_Lines(rec);
    EXPECT_TRUE(Has(lines, "polygon 92,100,100,92,108,100,100,108"));
    EXPECT_TRUE(
        Has(lines, "text 94,114 -0")); // below: centred under the symbol (12 px high, 2 chars)
    EXPECT_TRUE(Has(lines, "rectangle 92,92,108,108"));
    EXPECT_TRUE(Has(lines, "select redBrush"));
    EXPECT_TRUE(Has(lines, "text 94,74 +0")); // 0 or more: above
    EXPECT_TRUE(Has(lines, "text 91,74 +35"));
    EXPECT_TRUE(Has(lines, "ellipse 92,92,108,108"));
}

struct Pass : ::testing::Test {
    MapRecorder rec;
    MapCanvas canvas = MapRecorder_Canvas(&rec, 400, 400);
    MapContext context = {};
    std::unique_ptr<MapScene> scene{new MapScene()};
    std::vector<std::unique_ptr<FacilityRecord>> records;

    void SetUp() override {
        scene->mapRange = 10000;
        scene->mapScale = 100;
        scene->showVor = scene->showNdb = scene->showAirports = 1;
    }
    void TearDown() override {
        if (context.facilities.nearFacilities)
            List_Destroy(context.facilities.nearFacilities);
    }
    void Near(int32_t kind, const char* ident, double latitude, double longitude) {
        if (!context.facilities.nearFacilities) {
            context.facilities.nearFacilities = List_Create(nullptr);
            List_SetBorrowed(context.facilities.nearFacilities, 1);
        }
        records.emplace_back(new FacilityRecord());
        FacilityRecord* r = records.back().get();
        r->kind = kind;
        snprintf(r->ident, sizeof r->ident, "%s", ident);
        r->position = GeoPosition{latitude, longitude, 0};
        List_Append(context.facilities.nearFacilities, r);
    }
    void Route(MapRoute& route, int32_t pointKind, int32_t facilityKind, const char* ident,
               double latitude, double longitude) {
        RoutePoint& p = route.points[route.count++];
        p.pointKind = pointKind;
        p.facility.kind = facilityKind;
        snprintf(p.facility.ident, sizeof p.facility.ident, "%s", ident);
        p.facility.position = GeoPosition{latitude, longitude, 0};
    }
    std::vector<std::string> Draw() {
        rec.calls.clear();
        Map_Draw(&context, &canvas, scene.get());
        return MapRecorder_Lines(rec);
    }
};

// The projection drops the up component, so a point near the antipode
// would land near the centre: whatever lies more than a quarter of the
// earth away is left out, and so is a route segment that reaches it.
TEST_F(Pass, TheFarSideOfTheEarthIsNotDrawnNearTheCentre) {
    const double deg = 3.141592653589793 / 180;
    scene->ownLatitude = 40.4 * deg, scene->ownLongitude = -3.7 * deg; // Madrid
    scene->mapRange = 90000, scene->mapScale = 300;
    Route(scene->route, 0, FACILITY_VOR, "MAD", 40.45 * deg, -3.6 * deg);
    Route(scene->route, 0, FACILITY_VOR, "NEAR", 40.5 * deg, -3.8 * deg);
    Route(scene->route, 0, FACILITY_AIRPORT, "WLG", -41.29 * deg, 174.78 * deg); // Wellington
    Near(FACILITY_NDB, "ANTI", -40.4 * deg, 176.3 * deg);
    TrafficTarget far = {-40.3 * deg, 176.2 * deg, 1, 0};
    scene->traffic = &far, scene->trafficCount = 1;
    const auto lines = Draw();
    EXPECT_NE(TextAt(lines, "NEAR").first, -99999);
    EXPECT_EQ(TextAt(lines, "WLG").first, -99999);
    EXPECT_EQ(TextAt(lines, "ANTI").first, -99999);
    for (const std::string& l : lines) { // the WLG end (823,733 once) never appears
        int x, y;
        if (sscanf(l.c_str(), "line %d,%d", &x, &y) == 2 ||
            sscanf(l.c_str(), "move %d,%d", &x, &y) == 2) {
            EXPECT_TRUE(0 <= x && x <= 400 && 0 <= y && y <= 400) << l;
        }
    }
    EXPECT_EQ(TextAt(lines, "+0").first, -99999) << "no traffic label";
}

// Five layers, each drawn over the one before: near facilities, the
// secondary route, the route, the runway ends, then traffic.
TEST_F(Pass, LayersAreDrawnFacilitiesSecondaryRouteRouteRunwaysTraffic) {
    const double px = 10000 / R / 100; // radians per pixel near the centre
    Near(FACILITY_NDB, "FAC", 10 * px, 10 * px);
    Route(scene->secondaryRoute, 0, FACILITY_NDB, "S0", -20 * px, 0);
    Route(scene->secondaryRoute, 0, FACILITY_NDB, "S1", -20 * px, 20 * px);
    Route(scene->route, 0, FACILITY_VOR, "RTE", 30 * px, 0);
    RunwayEnd& end = scene->runwayEnds[0];
    snprintf(end.ident, sizeof end.ident, "09");
    end.threshold = GeoPosition{-30 * px, -30 * px, 0};
    end.heading = 90, end.length = 1000;
    TrafficTarget traffic = {40 * px, 40 * px, 1, 500};
    scene->traffic = &traffic, scene->trafficCount = 1;
    const auto lines = Draw();
    const auto first = [&lines](const std::string& part) { // index of the first line holding it
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].find(part) != std::string::npos)
                return static_cast<long>(i);
        return -1L;
    };
    const long facility = first(" FAC"), secondary = first("select secondaryRoutePen"),
               route = first(" RTE"), runway = first("polygon"), plane = first(" +5");
    EXPECT_GE(facility, 0);
    EXPECT_LT(facility, secondary);
    EXPECT_LT(secondary, route);
    EXPECT_LT(route, runway);
    EXPECT_LT(runway, plane);
}

TEST_F(Pass, ProjectsEastRightNorthUpAndTurnsWithTheMap) {
    const double a = 10000 / R;
    Near(FACILITY_NDB, "EAST", 0, a);
    Near(FACILITY_NDB, "NORTH", a, 0);
    auto lines = Draw();
    // R sin(a) metres at 100 px per 10000 m: 99.99999... px, truncated.
    const int east = static_cast<int>(200 + R * sin(a) / 10000 * 100);
    EXPECT_TRUE(Has(lines, "move " + std::to_string(east) + ",196"))
        << east; // triangle apex, 4 px up
    EXPECT_EQ(TextAt(lines, "EAST"),
              std::make_pair(static_cast<int>(200 + R * sin(a) / 100 + 5), 190));
    EXPECT_EQ(TextAt(lines, "NORTH"), std::make_pair(205, 90));
    scene->mapRotation = 90; // north is now to the right
    lines = Draw();
    const auto north = TextAt(lines, "NORTH");
    EXPECT_NEAR(north.first, 305, 1);
    EXPECT_NEAR(north.second, 190, 1);
}

TEST_F(Pass, ShowSwitchesAndTheCanvasBorder) {
    const double edge = 200.0 / 100 * 10000 / R; // exactly the canvas's right border
    Near(FACILITY_VOR, "V", 0, 0.001);
    Near(FACILITY_AIRPORT, "A", 0.001, 0);
    Near(FACILITY_NDB, "EDGE", 0, asin(edge * 1.0)); // projected X = 400: outside
    scene->showVor = 0;
    const auto lines = Draw();
    EXPECT_EQ(Count(lines, "text"), 1);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find(" A") != std::string::npos;
    }));
    EXPECT_EQ(Count(lines, "ellipse"), 0); // no VOR
}

TEST_F(Pass, RoutesLinesMarksLabelsAndVisibility) {
    const double px = 10000 / R / 100; // radians per pixel near the centre
    Route(scene->route, 0, FACILITY_VOR, "R0", 0, 0);
    Route(scene->route, 7, FACILITY_NDB, "R1", 50 * px, 0);    // kind 7: a waypoint, white label
    Route(scene->route, 2, FACILITY_VOR, "MARK", 100 * px, 0); // a climb arrow, no label
    Route(scene->route, 0, 9, "FAR", 0, 3000 * px);            // far outside, yet near
    Route(scene->route, 0, 9, "GONE", 0, 5000 * px);           // beyond the margin
    scene->showVor = 0; // the switches do not apply to routes
    const auto lines = Draw();
    EXPECT_TRUE(Has(lines, "colour " + std::to_string(MAP_WHITE)));
    EXPECT_EQ(Count(lines, "text"), 3);                 // R0, R1, FAR
    EXPECT_TRUE(Has(lines, "ellipse 197,197,203,203")); // R0's VOR circle at s 100
    EXPECT_EQ(TextAt(lines, "MARK").first, -99999);     // a route mark has no label
    EXPECT_EQ(TextAt(lines, "R1"), std::make_pair(205, 140));
    EXPECT_NE(TextAt(lines, "FAR").first, -99999); // 3000 px out: still within the margin
    EXPECT_EQ(TextAt(lines, "GONE").first, -99999);
    // Segments: 2-3 has one end inside and is drawn; 3-4 has both outside.
    int farthest = 0;
    for (const MapCall& call : rec.calls)
        if (call.op == "line")
            farthest = std::max(farthest, call.args[0]);
    EXPECT_GT(farthest, 3000); // the segment out to FAR (R sin: 2998 px)
    EXPECT_LT(farthest, 4000); // none out to GONE
}

TEST_F(Pass, AOnePointRouteDrawsItsSymbolButNoLine) {
    Route(scene->route, 0, FACILITY_NDB, "ONLY", 0, 0);
    context.facilities.nearFacilities = nullptr; // an absent near list is skipped
    const auto lines = Draw();
    EXPECT_EQ(Count(lines, "move"), 1); // the triangle's own outline
    EXPECT_EQ(Count(lines, "line"), 3);
    EXPECT_EQ(TextAt(lines, "ONLY"), std::make_pair(205, 190));
}

TEST_F(Pass, FarRangeDropsRunwaysAndTrafficButKeepsRoutes) {
    Route(scene->secondaryRoute, 0, 9, "S0", 0, 0);
    Route(scene->secondaryRoute, 0, 9, "S1", 0.0001, 0);
    strcpy(scene->runwayEnds[0].ident, "09");
    scene->runwayEnds[0].length = 3000;
    const TrafficTarget traffic[1] = {{0, 0, 4, 100}};
    scene->traffic = traffic;
    scene->trafficCount = 1;
    auto lines = Draw();
    EXPECT_EQ(Count(lines, "rectangle"), 1);
    EXPECT_EQ(Count(lines, "select secondaryRoutePen"), 2);
    EXPECT_EQ(Count(lines, "line"), 1 + 4); // the secondary segment and the runway
    scene->mapRange = 95000;
    lines = Draw();
    EXPECT_EQ(Count(lines, "rectangle"), 0);
    EXPECT_EQ(Count(lines, "line"), 1);
}

} // namespace
