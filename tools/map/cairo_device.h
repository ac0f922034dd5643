// tools/map/cairo_device.h
// The map's device interface on a cairo context (PNG and SVG pictures on
// Linux). The canvas's pens, brushes and font are MapCairoObject records.
#pragma once

#include "map.h"

#include <cairo.h>

enum MapCairoKind { MAP_CAIRO_PEN, MAP_CAIRO_BRUSH, MAP_CAIRO_FONT };

struct MapCairoObject {
    MapCairoKind kind;
    uint32_t colour; // colour key 0xBBGGRR (pens and brushes)
    double width;    // pens: line width in pixels
    bool hollow;     // brushes: fills nothing
    double fontSize; // fonts: pixels
};

struct MapCairoDevice {
    cairo_t* cr;
    const MapCairoObject* pen = nullptr;
    const MapCairoObject* brush = nullptr;
    const MapCairoObject* font = nullptr;
    uint32_t textColour = 0xFFFFFF;
    int32_t x = 0, y = 0; // the current point
};

MapDevice MapCairo_Device(MapCairoDevice* device);

// A canvas with the colour keys' pens and brushes and a readable font, on a
// dark background; objects lives as long as the canvas.
struct MapCairoObjects {
    MapCairoObject hollow, brushes[7], pens[8], font;
};
MapCanvas MapCairo_Canvas(MapCairoDevice* device, MapCairoObjects* objects, double width,
                          double height);
