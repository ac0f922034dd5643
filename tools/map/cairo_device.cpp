// tools/map/cairo_device.cpp
// GDI's drawing model on cairo: a current point, a selected pen (outlines)
// and brush (fills), text placed by its top-left corner.
#include "cairo_device.h"

#include <cmath>
#include <cstddef>
#include <string>

namespace {

MapCairoDevice* D(void* device) {
    return static_cast<MapCairoDevice*>(device);
}

void SetColour(cairo_t* cr, uint32_t key) {
    cairo_set_source_rgb(cr, (key & 0xFF) / 255.0, ((key >> 8) & 0xFF) / 255.0,
                         ((key >> 16) & 0xFF) / 255.0);
}

// Fill with the brush (unless hollow), then outline with the pen.
void FillAndStroke(MapCairoDevice* d) {
    if (d->brush && !d->brush->hollow) {
        SetColour(d->cr, d->brush->colour);
        cairo_fill_preserve(d->cr);
    }
    if (d->pen) {
        SetColour(d->cr, d->pen->colour);
        cairo_set_line_width(d->cr, d->pen->width);
        cairo_stroke(d->cr);
    }
    cairo_new_path(d->cr);
}

void Select(void* device, void* object) {
    const MapCairoObject* o = static_cast<const MapCairoObject*>(object);
    if (o == nullptr)
        return;
    MapCairoDevice* d = D(device);
    (o->kind == MAP_CAIRO_PEN ? d->pen : o->kind == MAP_CAIRO_BRUSH ? d->brush : d->font) = o;
}

void MoveTo(void* device, int32_t x, int32_t y) {
    D(device)->x = x, D(device)->y = y;
}

void LineTo(void* device, int32_t x, int32_t y) {
    MapCairoDevice* d = D(device);
    cairo_move_to(d->cr, d->x + 0.5, d->y + 0.5);
    cairo_line_to(d->cr, x + 0.5, y + 0.5);
    MapCairoObject noFill = {MAP_CAIRO_BRUSH, 0, 0, true, 0};
    const MapCairoObject* brush = d->brush;
    d->brush = &noFill;
    FillAndStroke(d);
    d->brush = brush;
    d->x = x, d->y = y;
}

void Ellipse(void* device, int32_t l, int32_t t, int32_t r, int32_t b) {
    MapCairoDevice* d = D(device);
    if (r <= l || b <= t)
        return;
    cairo_save(d->cr);
    cairo_translate(d->cr, (l + r) / 2.0, (t + b) / 2.0);
    cairo_scale(d->cr, (r - l) / 2.0, (b - t) / 2.0);
    cairo_arc(d->cr, 0, 0, 1, 0, 6.283185307179586);
    cairo_restore(d->cr);
    FillAndStroke(d);
}

void Polygon(void* device, const int32_t* xy, int32_t n) {
    MapCairoDevice* d = D(device);
    for (int32_t i = 0; i < n; ++i)
        (i ? cairo_line_to : cairo_move_to)(d->cr, xy[2 * static_cast<ptrdiff_t>(i)] + 0.5,
                                            xy[2 * static_cast<ptrdiff_t>(i) + 1] + 0.5);
    cairo_close_path(d->cr);
    FillAndStroke(d);
}

void Rectangle(void* device, int32_t l, int32_t t, int32_t r, int32_t b) {
    MapCairoDevice* d = D(device);
    cairo_rectangle(d->cr, l + 0.5, t + 0.5, r - l - 1, b - t - 1);
    FillAndStroke(d);
}

void Pixel(void* device, int32_t x, int32_t y, uint32_t colour) {
    MapCairoDevice* d = D(device);
    SetColour(d->cr, colour);
    cairo_rectangle(d->cr, x, y, 1, 1);
    cairo_fill(d->cr);
}

void Transparent(void*) {} // cairo draws no text background anyway
void Colour(void* device, uint32_t colour) {
    D(device)->textColour = colour;
}

void UseFont(MapCairoDevice* d) {
    cairo_select_font_face(d->cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(d->cr, d->font ? d->font->fontSize : 12.0);
}

void Text(void* device, int32_t x, int32_t y, const char* text, int32_t n) {
    MapCairoDevice* d = D(device);
    UseFont(d);
    cairo_font_extents_t font;
    cairo_font_extents(d->cr, &font);
    const std::string s(text, static_cast<size_t>(n));
    SetColour(d->cr, d->textColour);
    cairo_move_to(d->cr, x, y + font.ascent); // GDI places text by its top-left corner
    cairo_show_text(d->cr, s.c_str());
    cairo_new_path(d->cr);
}

void Extent(void* device, const char* text, int32_t n, int32_t* cx, int32_t* cy) {
    MapCairoDevice* d = D(device);
    UseFont(d);
    cairo_text_extents_t extents;
    cairo_font_extents_t font;
    const std::string s(text, static_cast<size_t>(n));
    cairo_text_extents(d->cr, s.c_str(), &extents);
    cairo_font_extents(d->cr, &font);
    *cx = static_cast<int32_t>(lround(extents.x_advance));
    *cy = static_cast<int32_t>(lround(font.ascent + font.descent));
}

const MapDeviceOps CAIRO_OPS = {Select, MoveTo,      LineTo, Ellipse, Polygon, Rectangle,
                                Pixel,  Transparent, Colour, Text,    Extent};

} // namespace

MapDevice MapCairo_Device(MapCairoDevice* device) {
    return MapDevice{&CAIRO_OPS, device};
}

MapCanvas MapCairo_Canvas(MapCairoDevice* device, MapCairoObjects* o, double width, double height) {
    // white (default), red, green, blue, orange, cyan, magenta
    static const uint32_t KEYS[7] = {MAP_WHITE,  MAP_RED,  MAP_GREEN,  MAP_BLUE,
                                     MAP_ORANGE, MAP_CYAN, MAP_MAGENTA};
    o->hollow = {MAP_CAIRO_BRUSH, 0, 0, true, 0};
    for (int i = 0; i < 7; ++i) {
        o->brushes[i] = {MAP_CAIRO_BRUSH, KEYS[i], 0, false, 0};
        o->pens[i] = {MAP_CAIRO_PEN, KEYS[i], 1.5, false, 0};
    }
    o->pens[7] = {MAP_CAIRO_PEN, 0x808080, 1.0, false, 0}; // the secondary route: grey
    o->font = {MAP_CAIRO_FONT, 0, 0, false, 12.0};
    MapCanvas c{};
    c.dc = MapCairo_Device(device);
    c.width = width, c.height = height, c.centreX = width / 2, c.centreY = height / 2;
    c.hollowBrush = &o->hollow;
    c.defaultBrush = &o->brushes[0], c.redBrush = &o->brushes[1], c.greenBrush = &o->brushes[2];
    c.blueBrush = &o->brushes[3], c.orangeBrush = &o->brushes[4], c.cyanBrush = &o->brushes[5];
    c.magentaBrush = &o->brushes[6];
    c.defaultPen = &o->pens[0], c.redPen = &o->pens[1], c.greenPen = &o->pens[2],
    c.bluePen = &o->pens[3];
    c.orangePen = &o->pens[4], c.secondaryRoutePen = &o->pens[7], c.cyanPen = &o->pens[5];
    c.magentaPen = &o->pens[6];
    c.labelFont = &o->font;
    return c;
}
