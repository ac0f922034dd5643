/* avionics/map/map.h
 * The moving map: the device-context interface it draws through (GDI on
 * Windows, cairo elsewhere, a recorder in tests), the canvas the client
 * lends it (device, size, centre, pens, brushes, font), the symbol
 * routines, the scene, and Map_Draw, which projects the near facilities,
 * two routes, two runways and traffic around the aircraft. Coordinates are
 * canvas pixels (doubles until drawn, then truncated toward zero). Usable
 * from C and C++.
 *
 * Conventions: the canvas, the scene and the device are the caller's and
 * are only borrowed for one call; drawing allocates nothing and cannot
 * fail (what lies off the canvas or on the far side of the earth is left
 * out). Map_Draw runs on the thread that owns the device context. The GDI
 * device is declared only in Windows builds. */
#ifndef SKORVAN_MAP_H
#define SKORVAN_MAP_H

#include <stdint.h>

#include "facilities.h"
#include "geo.h"

#ifdef __cplusplus
extern "C" {
#endif

#define MAP_DETAIL_LIMIT 95000.0 /* metres of range: at or above it the map draws less */
#define MAP_CLIP_MARGIN 4096.0   /* pixels around the canvas where symbols are still drawn */
#define MAP_ROUTE_CAPACITY 100

/* Colour keys: Windows colour values 0xBBGGRR. */
#define MAP_RED 0x0000FFu
#define MAP_GREEN 0x00FF00u
#define MAP_BLUE 0xFF0000u
#define MAP_ORANGE 0x0080FFu
#define MAP_CYAN 0xFFFF00u
#define MAP_MAGENTA 0xFF00FFu
#define MAP_WHITE 0xFFFFFFu

/* ---- The device-context interface ----------------------------------------------- */

/* The drawing operations the map uses, on an opaque device handle. Pens,
 * brushes and fonts are the back end's own handles, lent by the client. */
typedef struct MapDeviceOps {
    void (*selectObject)(void* device, void* object);
    void (*moveTo)(void* device, int32_t x, int32_t y);
    void (*lineTo)(void* device, int32_t x, int32_t y);
    void (*ellipse)(void* device, int32_t left, int32_t top, int32_t right, int32_t bottom);
    void (*polygon)(void* device, const int32_t* xy, int32_t points); /* x, y pairs */
    void (*rectangle)(void* device, int32_t left, int32_t top, int32_t right, int32_t bottom);
    void (*setPixel)(void* device, int32_t x, int32_t y, uint32_t colour);
    void (*setBackgroundTransparent)(void* device);
    void (*setTextColour)(void* device, uint32_t colour);
    void (*textOut)(void* device, int32_t x, int32_t y, const char* text, int32_t length);
    void (*textExtent)(void* device, const char* text, int32_t length, int32_t* width,
                       int32_t* height);
} MapDeviceOps;

typedef struct MapDevice {
    const MapDeviceOps* ops;
    void* handle; /* the HDC, the cairo context, the recorder */
} MapDevice;

#ifdef _WIN32
/* Windows: the device interface on an HDC; pens, brushes and the font of the
 * canvas are then HPEN, HBRUSH and HFONT. */
MapDevice Map_GdiDevice(void* deviceContext);
#endif

/* ---- Canvas ----------------------------------------------------------------------- */

typedef struct MapCanvas {
    MapDevice dc;
    double width, height;    /* pixels: the clip limits */
    double centreX, centreY; /* the own position on the canvas */
    void* hollowBrush;       /* fills nothing: selected before every outline */
    void* defaultBrush;      /* white and every key not listed */
    void* redBrush;
    void* greenBrush;
    void* blueBrush;
    void* orangeBrush;
    void* cyanBrush;
    void* magentaBrush;
    void* defaultPen; /* white and every key not listed */
    void* redPen;
    void* greenPen;
    void* bluePen;
    void* orangePen;
    void* secondaryRoutePen;
    void* cyanPen;
    void* magentaPen;
    void* labelFont;
} MapCanvas;

typedef struct TrafficTarget {
    double latitude, longitude; /* radians */
    int32_t targetKind;      /* 0 none, 1 other, 2 proximate, 3 advisory, 4 resolution advisory */
    double relativeAltitude; /* feet above (+) or below (-) the own aircraft */
} TrafficTarget;

void Map_SelectPen(const MapCanvas* canvas, uint32_t key);
/* A canvas coordinate as the device takes it: truncated toward zero,
 * saturating at the 32-bit limits, 0 for NaN. */
int32_t Map_Pixel(double v);
void Map_SelectBrush(const MapCanvas* canvas, uint32_t key);
/* Facility and waypoint symbols with their labels; s is the map scale
 * (pixels per range), range the map range in metres. */
void Map_DrawTriangle(const MapCanvas* canvas, double x, double y, double s, double range,
                      const char* text, uint32_t key);
void Map_DrawCircleTicks(const MapCanvas* canvas, double x, double y, double s, double range,
                         const char* text, uint32_t key);
void Map_DrawStar(const MapCanvas* canvas, double x, double y, double s, double range,
                  const char* text, uint32_t key);
void Map_DrawDiamond(const MapCanvas* canvas, double x, double y, double s, double range,
                     const char* text, uint32_t key);
/* Route marks of kinds 1, 2, 3 and 6 or 8. */
void Map_DrawRiseMark(const MapCanvas* canvas, double x, double y, double s);
void Map_DrawClimbArrow(const MapCanvas* canvas, double x, double y, double s);
void Map_DrawDescentArrow(const MapCanvas* canvas, double x, double y, double s);
void Map_DrawCircleMark(const MapCanvas* canvas, double x, double y, double s);
/* A runway outline from its threshold at (x, y) along its heading (degrees, true). */
void Map_DrawRunway(const MapCanvas* canvas, double x, double y, double s, double rotationDeg,
                    double range, double headingDeg, double lengthM, uint32_t key);
void Map_DrawTraffic(const MapCanvas* canvas, double x, double y, double s,
                     const TrafficTarget* target);

/* ---- Scene and drawing pass -------------------------------------------------------- */

typedef struct RoutePoint {
    int32_t pointKind;       /* 1, 2, 3, 6, 8: a route mark; otherwise a waypoint */
    FacilityRecord facility; /* symbol by kind, ident as label, position */
} RoutePoint;

typedef struct MapRoute {
    int32_t count; /* 0 to 100 */
    RoutePoint points[MAP_ROUTE_CAPACITY];
} MapRoute;

typedef struct MapScene {
    double ownLatitude, ownLongitude; /* radians: the map centre */
    double mapRange;                  /* metres shown mapScale pixels from the centre; > 0 */
    double mapScale;                  /* pixels; also the size unit of the symbols */
    double mapRotation;               /* degrees added to every bearing; 0 is north up */
    int32_t showVor, showNdb, showAirports;
    MapRoute route;
    MapRoute secondaryRoute;
    RunwayEnd runwayEnds[2]; /* an empty ident skips an end */
    int32_t trafficCount;
    const TrafficTarget* traffic; /* trafficCount targets */
} MapScene;

/* The client's record the map reads its facilities from (only the near
 * list) and that holds the mutex of the shared system state. */
typedef struct MapContext {
    FacilityDatabase facilities;
    void* systemMutex;
} MapContext;

void Map_Draw(const MapContext* context, const MapCanvas* canvas, const MapScene* scene);

#ifdef __cplusplus
}
#endif

#endif
