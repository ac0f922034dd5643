// avionics/map/symbols.cpp
// The map's drawing vocabulary: pens and brushes by colour key, facility
// and waypoint symbols with labels, route marks, runway outlines and
// traffic. Every offset is a fraction of the map scale s; points become
// integers by truncation toward zero after the offset is added.
#include "map.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

int32_t I(double v) {
    return Map_Pixel(v);
}

} // namespace

// Toward zero, saturating: a point projected far off the canvas (a tiny
// range, a huge scale) stays far off it instead of wrapping or being
// undefined. NaN gives 0.
int32_t Map_Pixel(double v) {
    if (!(v > -2147483648.0))
        return v != v ? 0 : INT32_MIN;
    if (v >= 2147483647.0)
        return INT32_MAX;
    return static_cast<int32_t>(v);
}

namespace {

const MapDevice& Dc(const MapCanvas* c) {
    return c->dc;
}

void MoveTo(const MapCanvas* c, double x, double y) {
    Dc(c).ops->moveTo(Dc(c).handle, I(x), I(y));
}
void LineTo(const MapCanvas* c, double x, double y) {
    Dc(c).ops->lineTo(Dc(c).handle, I(x), I(y));
}
void Select(const MapCanvas* c, void* object) {
    Dc(c).ops->selectObject(Dc(c).handle, object);
}
void Ellipse(const MapCanvas* c, double l, double t, double r, double b) {
    Dc(c).ops->ellipse(Dc(c).handle, I(l), I(t), I(r), I(b));
}

// Pen and hollow brush before an outline.
void Outline(const MapCanvas* c, uint32_t key) {
    Map_SelectPen(c, key);
    Select(c, c->hollowBrush);
}

void Label(const MapCanvas* c, double x, double y, double s, const char* text, uint32_t key) {
    Select(c, c->labelFont);
    Dc(c).ops->setBackgroundTransparent(Dc(c).handle);
    Dc(c).ops->setTextColour(Dc(c).handle, key);
    Dc(c).ops->textOut(Dc(c).handle, I(x + 0.05 * s), I(y - 0.1 * s), text,
                       static_cast<int32_t>(strlen(text)));
}

// Far out, a symbol is one pixel: in its key, or always magenta.
bool DetailPixel(const MapCanvas* c, double x, double y, double range, uint32_t colour) {
    if (range < MAP_DETAIL_LIMIT)
        return false;
    Dc(c).ops->setPixel(Dc(c).handle, I(x), I(y), colour);
    return true;
}

} // namespace

// The listed colour keys and the canvas's pen and brush for each; any
// other key takes the default ones.
struct KeyObjects {
    uint32_t key;
    void* MapCanvas::*pen;
    void* MapCanvas::*brush;
};
static const KeyObjects KEY_OBJECTS[] = {
    {MAP_RED, &MapCanvas::redPen, &MapCanvas::redBrush},
    {MAP_GREEN, &MapCanvas::greenPen, &MapCanvas::greenBrush},
    {MAP_BLUE, &MapCanvas::bluePen, &MapCanvas::blueBrush},
    {MAP_ORANGE, &MapCanvas::orangePen, &MapCanvas::orangeBrush},
    {MAP_CYAN, &MapCanvas::cyanPen, &MapCanvas::cyanBrush},
    {MAP_MAGENTA, &MapCanvas::magentaPen, &MapCanvas::magentaBrush},
};

static void* ObjectFor(const MapCanvas* c, uint32_t key, void* MapCanvas::*KeyObjects::*which,
                       void* MapCanvas::*fallback) {
    for (const KeyObjects& k : KEY_OBJECTS)
        if (k.key == key)
            return c->*(k.*which);
    return c->*fallback;
}

void Map_SelectPen(const MapCanvas* c, uint32_t key) {
    Select(c, ObjectFor(c, key, &KeyObjects::pen, &MapCanvas::defaultPen));
}

void Map_SelectBrush(const MapCanvas* c, uint32_t key) {
    Select(c, ObjectFor(c, key, &KeyObjects::brush, &MapCanvas::defaultBrush));
}

void Map_DrawTriangle(const MapCanvas* c, double x, double y, double s, double range,
                      const char* text, uint32_t key) {
    Outline(c, key);
    if (DetailPixel(c, x, y, range, key))
        return;
    const double k = 0.04 * s;
    MoveTo(c, x, y - k);
    LineTo(c, x - k, y + k);
    LineTo(c, x + k, y + k);
    LineTo(c, x, y - k);
    Label(c, x, y, s, text, key);
}

void Map_DrawCircleTicks(const MapCanvas* c, double x, double y, double s, double range,
                         const char* text, uint32_t key) {
    Outline(c, key);
    if (DetailPixel(c, x, y, range, MAP_MAGENTA))
        return;
    const double r = 0.03 * s, tick = 0.06 * s;
    Ellipse(c, x - r, y - r, x + r, y + r);
    MoveTo(c, x, y - r);
    LineTo(c, x, y - tick);
    MoveTo(c, x, y + r);
    LineTo(c, x, y + tick);
    MoveTo(c, x - r, y);
    LineTo(c, x - tick, y);
    MoveTo(c, x + r, y);
    LineTo(c, x + tick, y);
    Label(c, x, y, s, text, key);
}

void Map_DrawStar(const MapCanvas* c, double x, double y, double s, double range, const char* text,
                  uint32_t key) {
    Outline(c, key);
    if (DetailPixel(c, x, y, range, key))
        return;
    const double k = 0.03 * s;
    MoveTo(c, x, y - k);
    LineTo(c, x, y + k);
    MoveTo(c, x - k, y);
    LineTo(c, x + k, y);
    MoveTo(c, x - k, y - k);
    LineTo(c, x + k, y + k);
    MoveTo(c, x - k, y + k);
    LineTo(c, x + k, y - k);
    Label(c, x, y, s, text, key);
}

void Map_DrawDiamond(const MapCanvas* c, double x, double y, double s, double range,
                     const char* text, uint32_t key) {
    static const double UNIT[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    Outline(c, key);
    if (DetailPixel(c, x, y, range, MAP_MAGENTA))
        return;
    const double k = 0.05 * s;
    MoveTo(c, x + UNIT[0][0] * k, y + UNIT[0][1] * k);
    for (int i = 1; i <= 4; ++i)
        LineTo(c, x + UNIT[i % 4][0] * k, y + UNIT[i % 4][1] * k);
    Label(c, x, y, s, text, key);
}

void Map_DrawRiseMark(const MapCanvas* c, double x, double y, double s) {
    Select(c, c->cyanPen);
    Select(c, c->hollowBrush);
    MoveTo(c, x, y);
    LineTo(c, x + 0.05 * s, y);
    LineTo(c, x + 0.1 * s, y - 0.05 * s);
}

// The climb and descent arrows differ only in the sign of their rise.
static void Arrow(const MapCanvas* c, double x, double y, double s, double up) {
    Select(c, c->cyanPen);
    Select(c, c->hollowBrush);
    MoveTo(c, x, y);
    LineTo(c, x + 0.05 * s, y + up * 0.05 * s);
    LineTo(c, x + 0.1 * s, y + up * 0.05 * s);
    MoveTo(c, x + 0.07 * s, y + up * 0.08 * s);
    LineTo(c, x + 0.1 * s, y + up * 0.05 * s);
    LineTo(c, x + 0.07 * s, y + up * 0.02 * s);
}

void Map_DrawClimbArrow(const MapCanvas* c, double x, double y, double s) {
    Arrow(c, x, y, s, -1.0);
}
void Map_DrawDescentArrow(const MapCanvas* c, double x, double y, double s) {
    Arrow(c, x, y, s, 1.0);
}

void Map_DrawCircleMark(const MapCanvas* c, double x, double y, double s) {
    Select(c, c->defaultPen);
    Select(c, c->hollowBrush);
    Ellipse(c, x - 0.06 * s, y - 0.06 * s, x + 0.06 * s, y + 0.06 * s);
}

void Map_DrawRunway(const MapCanvas* c, double x, double y, double s, double rotationDeg,
                    double range, double headingDeg, double lengthM, uint32_t key) {
    Outline(c, key);
    if (range >= MAP_DETAIL_LIMIT)
        return;
    const double l = lengthM;
    const double corners[4][2] = {{-l / 8, 0}, {l / 8, 0}, {l / 8, l}, {-l / 8, l}};
    double px[4], py[4];
    for (int i = 0; i < 4; ++i) {
        Vector3 v = {corners[i][0] / range * s, corners[i][1] / range * s, 0.0};
        Vec3_RotateZ(&v, (headingDeg + 180.0) * DEG_TO_RAD);
        Vec3_RotateZ(&v, rotationDeg * DEG_TO_RAD);
        px[i] = x + v.x;
        py[i] = y + v.y;
    }
    MoveTo(c, px[0], py[0]);
    for (int i = 1; i <= 4; ++i)
        LineTo(c, px[i % 4], py[i % 4]);
}

void Map_DrawTraffic(const MapCanvas* c, double x, double y, double s,
                     const TrafficTarget* target) {
    static const uint32_t KEYS[5] = {0, MAP_WHITE, MAP_WHITE, MAP_ORANGE, MAP_RED};
    const int32_t kind = target->targetKind;
    if (kind < 1 || kind > 4)
        return; // nothing, and no label
    const uint32_t key = KEYS[kind];
    const double k = 0.04 * s;
    Map_SelectPen(c, key);
    if (kind == 1)
        Select(c, c->hollowBrush);
    else
        Map_SelectBrush(c, key);
    if (kind <= 2) {
        const int32_t diamond[8] = {I(x - k), I(y), I(x), I(y - k), I(x + k), I(y), I(x), I(y + k)};
        Dc(c).ops->polygon(Dc(c).handle, diamond, 4);
    } else if (kind == 3) {
        Ellipse(c, x - k, y - k, x + k, y + k);
    } else {
        Dc(c).ops->rectangle(Dc(c).handle, I(x - k), I(y - k), I(x + k), I(y + k));
    }
    Select(c, c->labelFont);
    Dc(c).ops->setBackgroundTransparent(Dc(c).handle);
    Dc(c).ops->setTextColour(Dc(c).handle, key);
    const double altitude = target->relativeAltitude;
    char text[64];
    snprintf(text, sizeof text, "%s%.0f", altitude >= 0 ? "+" : "-", fabs(altitude) / 100.0);
    const int32_t length = static_cast<int32_t>(strlen(text));
    int32_t cx = 0, cy = 0;
    Dc(c).ops->textExtent(Dc(c).handle, text, length, &cx, &cy);
    const double down = altitude >= 0 ? (y - 0.1 * s) - cy * 0.5 : (y + 0.1 * s) - cy * 0.5;
    Dc(c).ops->textOut(Dc(c).handle, I(x - cx * 0.5), I(down), text, length);
}
