// tests/support/map_recorder.h
// A map device that records every call with its arguments, for tests that
// check exact coordinates, pens and texts, and for benchmarks. Its pens,
// brushes and font are the addresses of named tokens.
#pragma once

#include "map.h"

#include <string>
#include <vector>

struct MapCall {
    std::string op; // "select", "move", "line", "ellipse", "polygon", "rectangle", "pixel",
                    // "transparent", "colour", "text"
    std::vector<int32_t> args;
    std::string text; // the text, or the selected object's name
};

struct MapRecorder {
    std::vector<MapCall> calls;
    bool recording = true; // off: calls are counted only (benchmarks)
    long long count = 0;
    int32_t charWidth = 6, charHeight = 12; // what textExtent reports per character
};

// A canvas drawing into the recorder: width x height, centre in the middle,
// every pen, brush and the font a distinct named object.
MapCanvas MapRecorder_Canvas(MapRecorder* recorder, double width, double height);
// "line 10,20" style summaries of the calls, selections named.
std::vector<std::string> MapRecorder_Lines(const MapRecorder& recorder);
