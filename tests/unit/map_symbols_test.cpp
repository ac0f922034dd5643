// tests/unit/map_symbols_test.cpp
// avionics/map/symbols.cpp through the recording device: symbol geometry
// and label places, the detail limit, runway outlines, traffic labels.
#include "map.h"
#include "map_lines.h"
#include "map_recorder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

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

} // namespace
