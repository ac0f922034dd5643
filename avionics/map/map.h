/**
 * @file map.h
 * @brief The moving map: the device interface it draws through, the canvas
 * the caller lends it (device, size, centre, pens, brushes, font), the
 * symbol routines, the scene, and Map_Draw, which projects the near
 * facilities, two routes, two runways and traffic around the aircraft.
 *
 * Drawing on Windows: make the device with Map_GdiDevice(hdc); the canvas's
 * pens, brushes and font are then the caller's HPEN, HBRUSH and HFONT.
 * Elsewhere the caller supplies a MapDeviceOps table of its own (the
 * project's tools draw with cairo that way; a test can record the calls).
 *
 * Units: positions in radians, map range and runway lengths in metres,
 * headings and the map rotation in degrees (true, clockwise from north),
 * canvas coordinates in pixels: doubles until drawn, then truncated toward
 * zero (Map_Pixel). Colour keys are Windows colour values 0x00BBGGRR.
 *
 * What a pass leaves in the device context: Map_Draw and every symbol
 * routine select the canvas's pens, brushes and font into the device
 * context, set its text colour and make its background mode transparent,
 * and restore nothing. After a pass the device context holds the canvas
 * pen and brush selected last (which ones depends on what was drawn) and,
 * once any label was drawn, labelFont; before the pass drew anything, the
 * caller's own selections are untouched. GDI does not delete an object
 * that is selected into a device context (DeleteObject fails and the
 * object leaks), so before deleting the canvas's pens, brushes or font,
 * select the device context's previous objects back into it (the values
 * SelectObject returned when you first replaced them, or stock objects
 * such as GetStockObject(BLACK_PEN), GetStockObject(NULL_BRUSH) and
 * GetStockObject(SYSTEM_FONT)), or delete a memory device context first.
 *
 * Ownership and errors: the canvas, the scene, the context and the device
 * are the caller's and are only borrowed for one call; the map never
 * creates, changes or deletes a pen, brush or font. Drawing allocates
 * nothing and reports nothing; the results of the device calls are not
 * checked. Pointer arguments must not be null unless a field says so.
 *
 * Threads: like the whole library, the map runs on its caller's thread and
 * takes no locks (not even the system mutex of sysblock.h). Draw on the
 * thread that owns the device context, and do not rebuild the near list
 * (Facility_UpdateNearList) while a pass reads it. Usable from C (C89 and
 * later) and C++.
 */
#ifndef SKORVAN_MAP_H
#define SKORVAN_MAP_H

#include <stdint.h>

#include "facilities.h"
#include "geo.h"

#ifdef __cplusplus
extern "C" {
#endif

/** Map range (metres) at or above which the map draws less: facility and
 *  waypoint symbols become single pixels, runways and traffic are left out. */
#define MAP_DETAIL_LIMIT 95000.0
/** Pixels around the canvas within which route and traffic symbols are
 *  still drawn (the device clips them). */
#define MAP_CLIP_MARGIN 4096.0
/** Points a MapRoute holds. */
#define MAP_ROUTE_CAPACITY 100

/** Colour key red (0x0000FF): redPen and redBrush. */
#define MAP_RED 0x0000FFu
/** Colour key green (0x00FF00): greenPen and greenBrush; the main route. */
#define MAP_GREEN 0x00FF00u
/** Colour key blue (0xFF0000): bluePen and blueBrush. */
#define MAP_BLUE 0xFF0000u
/** Colour key orange (0x0080FF): orangePen and orangeBrush. */
#define MAP_ORANGE 0x0080FFu
/** Colour key cyan (0xFFFF00): cyanPen and cyanBrush. */
#define MAP_CYAN 0xFFFF00u
/** Colour key magenta (0xFF00FF): magentaPen and magentaBrush; near
 *  facilities. */
#define MAP_MAGENTA 0xFF00FFu
/** Colour key white (0xFFFFFF): defaultPen and defaultBrush, as every key
 *  not listed here. */
#define MAP_WHITE 0xFFFFFFu

/* ---- The device-context interface ----------------------------------------------- */

/** The drawing operations the map uses, on an opaque device handle, with
 *  GDI's meanings. Coordinates are device pixels, x right and y down. All
 *  members must be set. */
typedef struct MapDeviceOps {
    /** Selects a pen, brush or font of the caller's into the device. */
    void (*selectObject)(void* device, void* object);
    /** Moves the current point. */
    void (*moveTo)(void* device, int32_t x, int32_t y);
    /** Draws a line with the current pen from the current point, which then moves here. */
    void (*lineTo)(void* device, int32_t x, int32_t y);
    /** An ellipse in a bounding box: outlined with the pen, filled with the brush. */
    void (*ellipse)(void* device, int32_t left, int32_t top, int32_t right, int32_t bottom);
    /** A closed polygon of points x, y pairs: outlined with the pen, filled with the brush. */
    void (*polygon)(void* device, const int32_t* xy, int32_t points);
    /** A rectangle: outlined with the pen, filled with the brush. */
    void (*rectangle)(void* device, int32_t left, int32_t top, int32_t right, int32_t bottom);
    /** Sets one pixel to a colour 0x00BBGGRR. */
    void (*setPixel)(void* device, int32_t x, int32_t y, uint32_t colour);
    /** Text from now on leaves its background as it is. */
    void (*setBackgroundTransparent)(void* device);
    /** Sets the colour (0x00BBGGRR) of text written from now on. */
    void (*setTextColour)(void* device, uint32_t colour);
    /** Writes length characters of text at a reference point (GDI: as the device's text alignment
     * says, by default its top left). */
    void (*textOut)(void* device, int32_t x, int32_t y, const char* text, int32_t length);
    /** Writes the width and height (pixels) of length characters of text in the selected font. */
    void (*textExtent)(void* device, const char* text, int32_t length, int32_t* width,
                       int32_t* height);
} MapDeviceOps;

/** A drawing device: an operations table and the handle it works on. */
typedef struct MapDevice {
    const MapDeviceOps* ops; /**< The operations; never null in a canvas being drawn. */
    void* handle;            /**< Passed to every operation: the HDC, or the caller's own device. */
} MapDevice;

#ifdef _WIN32
/** The device interface on a Windows device context (GDI). The returned
 *  record points to a table of the library's and to the HDC; it holds no
 *  resources and needs no release.
 *  @param deviceContext the HDC to draw on; the caller's, kept valid while
 *         the device is used
 *  @return a device to store in MapCanvas::dc */
MapDevice Map_GdiDevice(void* deviceContext);
#endif

/* ---- Canvas ----------------------------------------------------------------------- */

/** The device, size, centre, pens, brushes and font the map draws with.
 *
 *  To set one up, zero it, set dc (Map_GdiDevice on Windows), width,
 *  height, centreX and centreY, and then every pen, brush and font field:
 *  the map selects them without checking, so none may be left null. One
 *  object may serve several fields (a single pen for all keys, say), and
 *  stock objects may be used; hollowBrush is typically
 *  GetStockObject(NULL_BRUSH). Widths, styles and the font are the caller's
 *  choice; only the colour keys are fixed. The objects stay the caller's:
 *  create them once, keep them while the canvas is used, and before
 *  deleting them select them out of the device context (see the file's
 *  description). */
typedef struct MapCanvas {
    MapDevice dc;       /**< Where everything is drawn. */
    double width;       /**< Canvas width, pixels: points at x <= 0 or >= width are outside. */
    double height;      /**< Canvas height, pixels: points at y <= 0 or >= height are outside. */
    double centreX;     /**< Canvas x of the own position (the map centre), pixels. */
    double centreY;     /**< Canvas y of the own position, pixels. */
    void* hollowBrush;  /**< A brush that fills nothing, selected before every outline. */
    void* defaultBrush; /**< Brush of MAP_WHITE and of every key not listed. */
    void* redBrush;     /**< Brush of MAP_RED. */
    void* greenBrush;   /**< Brush of MAP_GREEN. */
    void* blueBrush;    /**< Brush of MAP_BLUE. */
    void* orangeBrush;  /**< Brush of MAP_ORANGE. */
    void* cyanBrush;    /**< Brush of MAP_CYAN. */
    void* magentaBrush; /**< Brush of MAP_MAGENTA. */
    /** Pen of MAP_WHITE and of every key not listed; also the circle route mark. */
    void* defaultPen;
    void* redPen;            /**< Pen of MAP_RED. */
    void* greenPen;          /**< Pen of MAP_GREEN: the main route. */
    void* bluePen;           /**< Pen of MAP_BLUE. */
    void* orangePen;         /**< Pen of MAP_ORANGE. */
    void* secondaryRoutePen; /**< Pen of the secondary route's line; any colour. */
    void* cyanPen;           /**< Pen of MAP_CYAN: also the rise, climb and descent route marks. */
    void* magentaPen;        /**< Pen of MAP_MAGENTA. */
    void* labelFont;         /**< Font of every label. */
} MapCanvas;

/** One traffic target of a scene. */
typedef struct TrafficTarget {
    double latitude;  /**< Radians. */
    double longitude; /**< Radians. */
    /** 0 none (nothing drawn), 1 other traffic, 2 proximate, 3 traffic advisory, 4 resolution
     *  advisory; others draw nothing. */
    int32_t targetKind;
    /** Feet above (+) or below (-) the own aircraft; labelled in hundreds ("+35", "-12"). */
    double relativeAltitude;
} TrafficTarget;

/** Selects the pen of a colour key into the device context.
 *  @param canvas the canvas
 *  @param key    a colour key; any key not listed selects defaultPen */
void Map_SelectPen(const MapCanvas* canvas, uint32_t key);
/** A canvas coordinate as the device takes it.
 *  @param v pixels, any double
 *  @return v truncated toward zero, saturating at the 32-bit limits; 0 for NaN */
int32_t Map_Pixel(double v);
/** Selects the brush of a colour key into the device context.
 *  @param canvas the canvas
 *  @param key    a colour key; any key not listed selects defaultBrush */
void Map_SelectBrush(const MapCanvas* canvas, uint32_t key);
/** NDB symbol: an outlined triangle, apex up, 0.08 s wide, and its label.
 *  At a range of MAP_DETAIL_LIMIT or more, one pixel in the key's colour
 *  and no label.
 *  @param canvas the canvas
 *  @param x      canvas x of the point, pixels
 *  @param y      canvas y of the point, pixels
 *  @param s      map scale: pixels per map range; every size is a fraction of it
 *  @param range  map range, metres
 *  @param text   label, NUL-terminated; written 0.05 s right of and 0.1 s above the point
 *  @param key    colour key of pen and text */
void Map_DrawTriangle(const MapCanvas* canvas, double x, double y, double s, double range,
                      const char* text, uint32_t key);
/** VOR symbol: a circle of radius 0.03 s with four ticks, and its label. At
 *  a range of MAP_DETAIL_LIMIT or more, one magenta pixel and no label.
 *  @param canvas the canvas
 *  @param x      canvas x of the point, pixels
 *  @param y      canvas y of the point, pixels
 *  @param s      map scale, pixels per map range
 *  @param range  map range, metres
 *  @param text   label, NUL-terminated
 *  @param key    colour key of pen and text */
void Map_DrawCircleTicks(const MapCanvas* canvas, double x, double y, double s, double range,
                         const char* text, uint32_t key);
/** Airport symbol: a star of four strokes, 0.06 s across, and its label. At
 *  a range of MAP_DETAIL_LIMIT or more, one pixel in the key's colour and
 *  no label.
 *  @param canvas the canvas
 *  @param x      canvas x of the point, pixels
 *  @param y      canvas y of the point, pixels
 *  @param s      map scale, pixels per map range
 *  @param range  map range, metres
 *  @param text   label, NUL-terminated
 *  @param key    colour key of pen and text */
void Map_DrawStar(const MapCanvas* canvas, double x, double y, double s, double range,
                  const char* text, uint32_t key);
/** Symbol of any other waypoint: a diamond 0.1 s across, and its label. At
 *  a range of MAP_DETAIL_LIMIT or more, one magenta pixel and no label.
 *  @param canvas the canvas
 *  @param x      canvas x of the point, pixels
 *  @param y      canvas y of the point, pixels
 *  @param s      map scale, pixels per map range
 *  @param range  map range, metres
 *  @param text   label, NUL-terminated
 *  @param key    colour key of pen and text */
void Map_DrawDiamond(const MapCanvas* canvas, double x, double y, double s, double range,
                     const char* text, uint32_t key);
/** Route mark of kind 1 (rise), with cyanPen; no label, at any range.
 *  @param canvas the canvas
 *  @param x      canvas x of the point, pixels
 *  @param y      canvas y of the point, pixels
 *  @param s      map scale, pixels per map range */
void Map_DrawRiseMark(const MapCanvas* canvas, double x, double y, double s);
/** Route mark of kind 2 (climb arrow), with cyanPen; no label, at any range.
 *  @param canvas the canvas
 *  @param x      canvas x of the point, pixels
 *  @param y      canvas y of the point, pixels
 *  @param s      map scale, pixels per map range */
void Map_DrawClimbArrow(const MapCanvas* canvas, double x, double y, double s);
/** Route mark of kind 3 (descent arrow), with cyanPen; no label, at any
 *  range.
 *  @param canvas the canvas
 *  @param x      canvas x of the point, pixels
 *  @param y      canvas y of the point, pixels
 *  @param s      map scale, pixels per map range */
void Map_DrawDescentArrow(const MapCanvas* canvas, double x, double y, double s);
/** Route mark of kinds 6 and 8: a circle of radius 0.06 s with defaultPen;
 *  no label, at any range.
 *  @param canvas the canvas
 *  @param x      canvas x of the point, pixels
 *  @param y      canvas y of the point, pixels
 *  @param s      map scale, pixels per map range */
void Map_DrawCircleMark(const MapCanvas* canvas, double x, double y, double s);
/** A runway outline: a rectangle the runway's length long and a quarter of
 *  it wide, from its threshold along its heading, turned with the map.
 *  Nothing at a range of MAP_DETAIL_LIMIT or more.
 *  @param canvas      the canvas
 *  @param x           canvas x of the threshold, pixels
 *  @param y           canvas y of the threshold, pixels
 *  @param s           map scale, pixels per map range
 *  @param rotationDeg the map rotation, degrees (MapScene::mapRotation)
 *  @param range       map range, metres
 *  @param headingDeg  runway heading, degrees true
 *  @param lengthM     runway length, metres
 *  @param key         colour key of the pen */
void Map_DrawRunway(const MapCanvas* canvas, double x, double y, double s, double rotationDeg,
                    double range, double headingDeg, double lengthM, uint32_t key);
/** A traffic symbol 0.08 s across and its relative-altitude label, centred
 *  0.1 s above the symbol (0 or more) or below it (negative): kind 1 an
 *  open white diamond, 2 a filled white diamond, 3 a filled orange circle,
 *  4 a filled red square; any other kind draws nothing at all.
 *  @param canvas the canvas
 *  @param x      canvas x of the target, pixels
 *  @param y      canvas y of the target, pixels
 *  @param s      map scale, pixels per map range
 *  @param target the target; its position is not read here */
void Map_DrawTraffic(const MapCanvas* canvas, double x, double y, double s,
                     const TrafficTarget* target);

/* ---- Scene and drawing pass -------------------------------------------------------- */

/** Route point kinds that draw a mark without a label (RoutePoint::pointKind);
 *  any other kind is a waypoint. */
#define MAP_MARK_RISE 1    /**< Map_DrawRiseMark */
#define MAP_MARK_CLIMB 2   /**< Map_DrawClimbArrow */
#define MAP_MARK_DESCENT 3 /**< Map_DrawDescentArrow */
/** Map_DrawCircleMark; route data uses both this and MAP_MARK_CIRCLE_ALT. */
#define MAP_MARK_CIRCLE 6
#define MAP_MARK_CIRCLE_ALT 8 /**< Map_DrawCircleMark, as MAP_MARK_CIRCLE */

/** One point of a route. */
typedef struct RoutePoint {
    /** MAP_MARK_RISE (1), MAP_MARK_CLIMB (2), MAP_MARK_DESCENT (3), MAP_MARK_CIRCLE (6) or
     *  MAP_MARK_CIRCLE_ALT (8): a route mark without label; any other value: a waypoint. */
    int32_t pointKind;
    /** Placed by position's latitude and longitude (also for marks); a waypoint's symbol by kind,
     *  its label the ident. Other fields are not read. */
    FacilityRecord facility;
} RoutePoint;

/** A route of up to MAP_ROUTE_CAPACITY points. */
typedef struct MapRoute {
    int32_t count; /**< Points in use, 0 to MAP_ROUTE_CAPACITY. */
    /** Point 0 is the first; points beyond count are not read. */
    RoutePoint points[MAP_ROUTE_CAPACITY];
} MapRoute;

/** What the map shows, filled by the caller and only read by Map_Draw.
 *  To set one up, zero it (it is about 13 KB: keep it static or on the
 *  heap rather than on a small stack), then set ownLatitude, ownLongitude,
 *  mapRange (above 0), mapScale and the show switches; add route points,
 *  runway ends and traffic as needed. A zeroed scene apart from those draws
 *  no routes, runways or traffic. */
typedef struct MapScene {
    double ownLatitude;  /**< Radians: the map centre (the own aircraft). */
    double ownLongitude; /**< Radians. */
    double mapRange;     /**< Metres drawn mapScale pixels from the centre; above 0. */
    double mapScale;     /**< Pixels that correspond to mapRange; also the symbols' size unit. */
    /** Degrees added to every true bearing on the screen: 0 is north up, minus the track is
     *  track up. */
    double mapRotation;
    int32_t showVor;      /**< Nonzero: draw near facilities of kind FACILITY_VOR. */
    int32_t showNdb;      /**< Nonzero: draw near facilities of kind FACILITY_NDB. */
    int32_t showAirports; /**< Nonzero: draw near facilities of kind FACILITY_AIRPORT. */
    /** The main route: green line, marks and waypoint symbols (the second point's label white);
     *  drawn whatever the show switches. */
    MapRoute route;
    MapRoute secondaryRoute; /**< A second route, a plain line with secondaryRoutePen. */
    /** Runways to outline, from ident, threshold, heading and length; an empty ident skips an
     *  end. */
    RunwayEnd runwayEnds[2];
    int32_t trafficCount; /**< Targets in traffic, 0 or more. */
    /** trafficCount targets, the caller's; may be null when trafficCount is 0. */
    const TrafficTarget* traffic;
} MapScene;

/** The caller's record the map takes its facilities from.
 *
 *  To set one up, zero it and fill facilities as facilities.h says
 *  (sceneryRoot, Facility_LoadDatabase, then Facility_UpdateNearList as the
 *  aircraft moves); a null facilities.nearFacilities simply draws no
 *  facilities. Release it with Facility_FreeDatabase(&context.facilities). */
typedef struct MapContext {
    FacilityDatabase facilities; /**< The database; Map_Draw reads only its nearFacilities list. */
    /** The mutex SystemBlock_Lock and SystemBlock_Unlock take (from SystemMutex_Create), or null.
     *  Map_Draw never takes it: a caller that rebuilds the near list on another thread must hold it
     *  (or its own lock) around both itself. */
    void* systemMutex;
} MapContext;

/** Draws the moving map: the near facilities (by the show switches, inside
 *  the canvas, magenta labels), the secondary route, the main route with
 *  its marks and waypoint symbols, the two runway outlines and, below
 *  MAP_DETAIL_LIMIT, the traffic; later items paint over earlier ones.
 *  Each position is projected orthographically onto the plane tangent at
 *  the own position: a point at true bearing b is drawn at screen bearing
 *  b + mapRotation, mapScale pixels per mapRange metres from
 *  (centreX, centreY). Points more than a quarter of the earth away are
 *  left out. Keeps nothing between calls; see the file's description for
 *  what is left selected in the device context.
 *  @param context the facilities; only nearFacilities is read, and it must
 *                 not be rebuilt during the call
 *  @param canvas  the device and the objects to draw with
 *  @param scene   what to show */
void Map_Draw(const MapContext* context, const MapCanvas* canvas, const MapScene* scene);

#ifdef __cplusplus
}
#endif

#endif
