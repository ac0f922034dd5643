// tests/unit/map_draw_test.cpp
// avionics/map/draw.cpp through the recording device: the projection, the
// order of the layers, the show switches, routes and their point kinds,
// and what the pass leaves out at long range or on the far hemisphere.
#include "map.h"
#include "map_lines.h"
#include "map_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

const double R = 6367310.0;

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

// Each mark kind draws its own mark and no label, exactly as the symbol
// routine draws it alone; every other kind is a waypoint with its label.
TEST_F(Pass, RoutePointKindsChooseTheirMark) {
    typedef void (*Mark)(const MapCanvas*, double, double, double);
    const struct {
        int32_t kind;
        Mark mark; // null: a waypoint
    } cases[] = {{MAP_MARK_RISE, Map_DrawRiseMark},
                 {MAP_MARK_CLIMB, Map_DrawClimbArrow},
                 {MAP_MARK_DESCENT, Map_DrawDescentArrow},
                 {MAP_MARK_CIRCLE, Map_DrawCircleMark},
                 {MAP_MARK_CIRCLE_ALT, Map_DrawCircleMark},
                 {0, nullptr},
                 {4, nullptr},
                 {5, nullptr},
                 {7, nullptr},
                 {9, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        scene->route.count = 0;
        Route(scene->route, c.kind, FACILITY_NDB, "WPT", 0, 0);
        const auto lines = Draw();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[0], "select greenPen");
        if (c.mark == nullptr) {
            EXPECT_EQ(TextAt(lines, "WPT"), std::make_pair(205, 190));
            continue;
        }
        MapRecorder alone;
        const MapCanvas aloneCanvas = MapRecorder_Canvas(&alone, 400, 400);
        c.mark(&aloneCanvas, 200, 200, scene->mapScale);
        const auto expected = MapRecorder_Lines(alone);
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end()), expected);
        EXPECT_EQ(Count(lines, "text"), 0);
    }
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
