// avionics/map/device_gdi_win32.cpp
// The map's device interface on a Windows device context (GDI). Pens,
// brushes and the font are the client's HPEN, HBRUSH and HFONT.
#include "map.h"

#include <windows.h>

namespace {

HDC Dc(void* device) {
    return static_cast<HDC>(device);
}

void Select(void* d, void* object) {
    SelectObject(Dc(d), static_cast<HGDIOBJ>(object));
}
void MoveTo(void* d, int32_t x, int32_t y) {
    MoveToEx(Dc(d), x, y, nullptr);
}
void LineToGdi(void* d, int32_t x, int32_t y) {
    LineTo(Dc(d), x, y);
}
void EllipseGdi(void* d, int32_t l, int32_t t, int32_t r, int32_t b) {
    Ellipse(Dc(d), l, t, r, b);
}
void PolygonGdi(void* d, const int32_t* xy, int32_t n) {
    POINT points[16];
    if (n > 16)
        n = 16;
    for (int32_t i = 0; i < n; ++i)
        points[i] = POINT{xy[2 * i], xy[2 * i + 1]};
    Polygon(Dc(d), points, n);
}
void RectangleGdi(void* d, int32_t l, int32_t t, int32_t r, int32_t b) {
    Rectangle(Dc(d), l, t, r, b);
}
void Pixel(void* d, int32_t x, int32_t y, uint32_t colour) {
    SetPixel(Dc(d), x, y, colour);
}
void Transparent(void* d) {
    SetBkMode(Dc(d), TRANSPARENT);
}
void Colour(void* d, uint32_t colour) {
    SetTextColor(Dc(d), colour);
}
void Text(void* d, int32_t x, int32_t y, const char* text, int32_t n) {
    TextOutA(Dc(d), x, y, text, n);
}
void Extent(void* d, const char* text, int32_t n, int32_t* cx, int32_t* cy) {
    SIZE size = {0, 0};
    GetTextExtentPoint32A(Dc(d), text, n, &size);
    *cx = size.cx;
    *cy = size.cy;
}

const MapDeviceOps GDI_OPS = {Select, MoveTo,      LineToGdi, EllipseGdi, PolygonGdi, RectangleGdi,
                              Pixel,  Transparent, Colour,    Text,       Extent};

} // namespace

MapDevice Map_GdiDevice(void* deviceContext) {
    return MapDevice{&GDI_OPS, deviceContext};
}
