// tests/support/map_recorder.cpp
// The recording map device.
#include "map_recorder.h"

namespace {

// Named objects for the canvas; their addresses are the handles.
struct Named {
    const char* name;
};
Named g_objects[] = {
    {"hollowBrush"}, {"defaultBrush"}, {"redBrush"},     {"greenBrush"},        {"blueBrush"},
    {"orangeBrush"}, {"cyanBrush"},    {"magentaBrush"}, {"defaultPen"},        {"redPen"},
    {"greenPen"},    {"bluePen"},      {"orangePen"},    {"secondaryRoutePen"}, {"cyanPen"},
    {"magentaPen"},  {"labelFont"}};

MapRecorder* R(void* device) {
    return static_cast<MapRecorder*>(device);
}

// Counts the call; true when it is to be recorded too. Each call checks
// this before it builds its arguments, so that a counting-only recorder
// costs a counter per call and nothing else.
bool Recording(void* device) {
    MapRecorder* r = R(device);
    ++r->count;
    return r->recording;
}

void Add(void* device, const char* op, std::vector<int32_t> args, std::string text = "") {
    R(device)->calls.push_back({op, std::move(args), std::move(text)});
}

void Select(void* d, void* object) {
    if (Recording(d))
        Add(d, "select", {}, object ? static_cast<Named*>(object)->name : "none");
}
void MoveTo(void* d, int32_t x, int32_t y) {
    if (Recording(d))
        Add(d, "move", {x, y});
}
void LineTo(void* d, int32_t x, int32_t y) {
    if (Recording(d))
        Add(d, "line", {x, y});
}
void Ellipse(void* d, int32_t l, int32_t t, int32_t r, int32_t b) {
    if (Recording(d))
        Add(d, "ellipse", {l, t, r, b});
}
void Polygon(void* d, const int32_t* xy, int32_t n) {
    if (Recording(d))
        Add(d, "polygon", std::vector<int32_t>(xy, xy + 2 * static_cast<ptrdiff_t>(n)));
}
void Rectangle(void* d, int32_t l, int32_t t, int32_t r, int32_t b) {
    if (Recording(d))
        Add(d, "rectangle", {l, t, r, b});
}
void SetPixel(void* d, int32_t x, int32_t y, uint32_t c) {
    if (Recording(d))
        Add(d, "pixel", {x, y, static_cast<int32_t>(c)});
}
void Transparent(void* d) {
    if (Recording(d))
        Add(d, "transparent", {});
}
void Colour(void* d, uint32_t c) {
    if (Recording(d))
        Add(d, "colour", {static_cast<int32_t>(c)});
}
void TextOut(void* d, int32_t x, int32_t y, const char* text, int32_t n) {
    if (Recording(d))
        Add(d, "text", {x, y}, std::string(text, n));
}
void Extent(void* d, const char*, int32_t n, int32_t* cx, int32_t* cy) {
    *cx = n * R(d)->charWidth;
    *cy = R(d)->charHeight;
}

const MapDeviceOps OPS = {Select,   MoveTo,      LineTo, Ellipse, Polygon, Rectangle,
                          SetPixel, Transparent, Colour, TextOut, Extent};

} // namespace

MapCanvas MapRecorder_Canvas(MapRecorder* recorder, double width, double height) {
    MapCanvas c{};
    c.dc = MapDevice{&OPS, recorder};
    c.width = width, c.height = height, c.centreX = width / 2, c.centreY = height / 2;
    void** slots[] = {
        &c.hollowBrush, &c.defaultBrush, &c.redBrush,     &c.greenBrush,        &c.blueBrush,
        &c.orangeBrush, &c.cyanBrush,    &c.magentaBrush, &c.defaultPen,        &c.redPen,
        &c.greenPen,    &c.bluePen,      &c.orangePen,    &c.secondaryRoutePen, &c.cyanPen,
        &c.magentaPen,  &c.labelFont};
    for (size_t i = 0; i < sizeof slots / sizeof slots[0]; ++i)
        *slots[i] = &g_objects[i];
    return c;
}

std::vector<std::string> MapRecorder_Lines(const MapRecorder& recorder) {
    std::vector<std::string> lines;
    for (const MapCall& call : recorder.calls) {
        std::string line = call.op;
        for (size_t i = 0; i < call.args.size(); ++i)
            line += (i ? "," : " ") + std::to_string(call.args[i]);
        if (!call.text.empty())
            line += " " + call.text;
        lines.push_back(line);
    }
    return lines;
}
