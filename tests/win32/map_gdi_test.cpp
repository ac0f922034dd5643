// tests/win32/map_gdi_test.cpp
// The moving map on real GDI: a pass drawn into a 32-bit DIB and read back
// pixel by pixel (pens by colour key, a filled traffic symbol, a label).
#include "map.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(MapOnGdi, DrawsSymbolsInTheirKeysColours) {
    const int W = 200, H = 200;
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), W, -H, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    uint32_t* pixels = nullptr;
    HBITMAP bitmap =
        CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels), nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    memset(pixels, 0, W * H * 4);

    HPEN white = CreatePen(PS_SOLID, 1, MAP_WHITE), green = CreatePen(PS_SOLID, 1, MAP_GREEN),
         magenta = CreatePen(PS_SOLID, 1, MAP_MAGENTA), red = CreatePen(PS_SOLID, 1, MAP_RED);
    HBRUSH redBrush = CreateSolidBrush(MAP_RED), whiteBrush = CreateSolidBrush(MAP_WHITE);
    MapCanvas canvas = {};
    canvas.dc = Map_GdiDevice(dc);
    canvas.width = W, canvas.height = H, canvas.centreX = W / 2.0, canvas.centreY = H / 2.0;
    canvas.hollowBrush = GetStockObject(NULL_BRUSH);
    canvas.defaultBrush = whiteBrush;
    canvas.redBrush = redBrush;
    canvas.defaultPen = white, canvas.greenPen = green, canvas.magentaPen = magenta,
    canvas.redPen = red;
    canvas.labelFont = GetStockObject(DEFAULT_GUI_FONT);

    // A green route line across the middle, a red resolution advisory.
    std::unique_ptr<MapScene> scene(new MapScene());
    scene->mapRange = 10000, scene->mapScale = 100;
    const double px = 10000 / 6367310.0 / 100;
    scene->route.count = 2;
    scene->route.points[0].pointKind = MAP_MARK_RISE; // marks: no labels
    scene->route.points[1].pointKind = MAP_MARK_RISE;
    scene->route.points[0].facility.position = {0, -80 * px, 0};
    scene->route.points[1].facility.position = {0, 80 * px, 0};
    const TrafficTarget traffic[1] = {{40 * px, 40 * px, 4, 1500}};
    scene->traffic = traffic, scene->trafficCount = 1;
    MapContext context = {};
    Map_Draw(&context, &canvas, scene.get());
    GdiFlush();
    auto at = [&](int x, int y) { return pixels[y * W + x] & 0xFFFFFF; }; // 0xRRGGBB in a DIB
    EXPECT_EQ(at(60, 100), 0x00FF00u);                                    // the route line, green
    EXPECT_EQ(at(140, 60), 0xFF0000u); // inside the filled red square (DIB order: red high)
    EXPECT_EQ(at(5, 5), 0u);           // untouched
    int labelPixels = 0;               // the "+15" label above it, in the traffic colour
    for (int y = 35; y < 56; ++y)
        for (int x = 125; x < 156; ++x)
            labelPixels += at(x, y) == 0xFF0000u;
    EXPECT_GT(labelPixels, 10);

    SelectObject(dc, old);
    DeleteObject(bitmap);
    for (HGDIOBJ o : {HGDIOBJ(white), HGDIOBJ(green), HGDIOBJ(magenta), HGDIOBJ(red),
                      HGDIOBJ(redBrush), HGDIOBJ(whiteBrush)})
        DeleteObject(o);
    DeleteDC(dc);
}

} // namespace
