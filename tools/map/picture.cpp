// tools/map/picture.cpp
// The map drawn with cairo and written as PNG or SVG through a safe
// output, so a file, standard output, a full disk and a closed pipe are
// one path, and a picture that fails halfway never replaces an old one.
#include "cairo_device.h"
#include "map_tool.h"
#include "output.h"

#include <cairo-svg.h>
#include <cairo.h>

static cairo_status_t WriteChunk(void* closure, const unsigned char* data, unsigned int length) {
    return fwrite(data, 1, length, static_cast<FILE*>(closure)) == length
               ? CAIRO_STATUS_SUCCESS
               : CAIRO_STATUS_WRITE_ERROR;
}

static void DrawOwnAircraft(cairo_t* cr, double width, double height) {
    cairo_set_source_rgb(cr, 1, 1, 0);
    cairo_move_to(cr, width / 2.0, height / 2.0 - 8);
    cairo_line_to(cr, width / 2.0 - 6, height / 2.0 + 6);
    cairo_line_to(cr, width / 2.0 + 6, height / 2.0 + 6);
    cairo_close_path(cr);
    cairo_fill(cr);
}

static void Draw(cairo_surface_t* surface, const MapOptions& o, const MapContext& context,
                 const MapScene& scene) {
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.05, 0.07, 0.12); // a dark display
    cairo_paint(cr);
    MapCairoDevice device{cr};
    MapCairoObjects objects;
    const MapCanvas canvas = MapCairo_Canvas(&device, &objects, o.width, o.height);
    Map_Draw(&context, &canvas, &scene);
    DrawOwnAircraft(cr, o.width, o.height);
    cairo_destroy(cr);
}

bool MapPicture_Write(const MapOptions& o, const MapContext& context, const MapScene& scene,
                      std::string* error) {
    OutputFile out;
    if (!Output_Open(&out, o.out, true, error))
        return false;
    cairo_surface_t* surface =
        o.svg ? cairo_svg_surface_create_for_stream(WriteChunk, out.file, o.width, o.height)
              : cairo_image_surface_create(CAIRO_FORMAT_RGB24, o.width, o.height);
    Draw(surface, o, context, scene);
    bool ok = o.svg || cairo_surface_write_to_png_stream(surface, WriteChunk, out.file) ==
                           CAIRO_STATUS_SUCCESS;
    cairo_surface_finish(surface); // an SVG is written here
    ok = ok && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!ok)
        return *error = "cannot write " + o.out + ": the picture could not be written whole",
               false; // out's destructor removes the temporary file
    return Output_Commit(&out, error);
}
