/* examples/moving-map/moving_map.c
 * A moving-map gauge: loads the simulator's scenery once, keeps the list of
 * facilities near the aircraft as it flies, and draws the map track up
 * into the device context the panel hands it, with a range ring and the
 * own aircraft on top. */
#include "moving_map.h"

#include <skorvan/facilities.h>
#include <skorvan/geo.h>
#include <skorvan/map.h>

#include <string.h>

#define GAUGE_EXPORT __declspec(dllexport)

#define METRES_PER_NM 1852.0
#define RING_COLOUR RGB(90, 90, 90)
#define BACKGROUND_COLOUR RGB(0, 0, 0)

/* The gauge's state: one aircraft, one map, one set of GDI objects. */
static MapContext g_context; /* zeroed: no lists yet, not loaded */
static MapCanvas g_canvas;
static MapScene g_scene; /* zeroed: no route, runway or traffic */
static HPEN g_ringPen;
static HBRUSH g_background;
static double g_latitudeDeg, g_longitudeDeg, g_trackDeg;

static HPEN Pen(COLORREF colour, int width) {
    return CreatePen(PS_SOLID, width, colour);
}

/* The canvas's pens and brushes, one per colour key of the map, and the
 * label font. The hollow brush is a stock object: never deleted. */
static int MakeGdiObjects(void) {
    MapCanvas* c = &g_canvas;
    c->hollowBrush = GetStockObject(HOLLOW_BRUSH);
    c->defaultBrush = CreateSolidBrush(RGB(255, 255, 255));
    c->redBrush = CreateSolidBrush(RGB(255, 0, 0));
    c->greenBrush = CreateSolidBrush(RGB(0, 255, 0));
    c->blueBrush = CreateSolidBrush(RGB(0, 0, 255));
    c->orangeBrush = CreateSolidBrush(RGB(255, 128, 0));
    c->cyanBrush = CreateSolidBrush(RGB(0, 255, 255));
    c->magentaBrush = CreateSolidBrush(RGB(255, 0, 255));
    c->defaultPen = Pen(RGB(255, 255, 255), 1);
    c->redPen = Pen(RGB(255, 0, 0), 1);
    c->greenPen = Pen(RGB(0, 255, 0), 2);
    c->bluePen = Pen(RGB(0, 0, 255), 1);
    c->orangePen = Pen(RGB(255, 128, 0), 1);
    c->secondaryRoutePen = CreatePen(PS_DOT, 1, RGB(0, 255, 0));
    c->cyanPen = Pen(RGB(0, 255, 255), 1);
    c->magentaPen = Pen(RGB(255, 0, 255), 1);
    c->labelFont =
        CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    g_ringPen = Pen(RING_COLOUR, 1);
    g_background = CreateSolidBrush(BACKGROUND_COLOUR);
    return c->hollowBrush && c->defaultBrush && c->redBrush && c->greenBrush && c->blueBrush &&
           c->orangeBrush && c->cyanBrush && c->magentaBrush && c->defaultPen && c->redPen &&
           c->greenPen && c->bluePen && c->orangePen && c->secondaryRoutePen && c->cyanPen &&
           c->magentaPen && c->labelFont && g_ringPen && g_background;
}

/* DeleteObject on a null handle fails harmlessly, so a half-made set frees too. */
static void FreeGdiObjects(void) {
    HGDIOBJ owned[] = {g_canvas.defaultBrush,
                       g_canvas.redBrush,
                       g_canvas.greenBrush,
                       g_canvas.blueBrush,
                       g_canvas.orangeBrush,
                       g_canvas.cyanBrush,
                       g_canvas.magentaBrush,
                       g_canvas.defaultPen,
                       g_canvas.redPen,
                       g_canvas.greenPen,
                       g_canvas.bluePen,
                       g_canvas.orangePen,
                       g_canvas.secondaryRoutePen,
                       g_canvas.cyanPen,
                       g_canvas.magentaPen,
                       g_canvas.labelFont,
                       g_ringPen,
                       g_background};
    size_t i;
    for (i = 0; i < sizeof owned / sizeof owned[0]; ++i)
        if (owned[i] != NULL)
            DeleteObject(owned[i]);
    memset(&g_canvas, 0, sizeof g_canvas);
    g_ringPen = NULL;
    g_background = NULL;
}

GAUGE_EXPORT int __cdecl MovingMap_Open(const char* simulatorFolder) {
    FacilityDatabase* database = &g_context.facilities;
    /* The folder is copied into the database; a longer one would not fit. */
    if (strlen(simulatorFolder) >= sizeof database->sceneryRoot)
        return 0;
    strcpy(database->sceneryRoot, simulatorFolder);
    /* A long walk of the disk: once, when the panel opens, not per frame. */
    Facility_LoadDatabase(database);
    if (!MakeGdiObjects()) {
        FreeGdiObjects();
        Facility_FreeDatabase(database);
        return 0;
    }
    return 1;
}

GAUGE_EXPORT void __cdecl MovingMap_SetAircraft(double latitudeDeg, double longitudeDeg,
                                                double trackDeg) {
    GeoPosition here;
    g_latitudeDeg = latitudeDeg;
    g_longitudeDeg = longitudeDeg;
    g_trackDeg = trackDeg;
    here.latitude = latitudeDeg * DEG_TO_RAD;
    here.longitude = longitudeDeg * DEG_TO_RAD;
    here.altitude = 0.0;
    /* Cheap while the aircraft stays in its whole-degree cell. */
    Facility_UpdateNearList(&g_context.facilities, &here);
}

/* The own aircraft, pointing up the screen (the map is track up). */
static void DrawAircraft(HDC dc, int x, int y) {
    SelectObject(dc, g_canvas.defaultPen);
    MoveToEx(dc, x, y - 10, NULL);
    LineTo(dc, x, y + 9);
    MoveToEx(dc, x - 8, y - 1, NULL);
    LineTo(dc, x + 9, y - 1);
    MoveToEx(dc, x - 4, y + 8, NULL);
    LineTo(dc, x + 5, y + 8);
}

GAUGE_EXPORT void __cdecl MovingMap_Draw(HDC dc, int width, int height, double rangeNm) {
    const int centreX = width / 2, centreY = height / 2;
    const int ring = (width < height ? width : height) * 2 / 5;
    RECT all;
    int saved;

    /* Map_Draw leaves its last pen, brush and font selected in the DC, and
     * a GDI object still selected cannot be deleted: save the DC's state
     * now and restore it after, so that the panel gets its DC back as it
     * gave it and Close can free the gauge's objects. */
    saved = SaveDC(dc);

    SetRect(&all, 0, 0, width, height);
    FillRect(dc, &all, g_background);
    SelectObject(dc, g_ringPen);
    SelectObject(dc, g_canvas.hollowBrush);
    Ellipse(dc, centreX - ring, centreY - ring, centreX + ring + 1, centreY + ring + 1);

    /* The scene stays zeroed but for what this gauge shows: the facilities
     * around the aircraft, no route, runway or traffic. */
    g_canvas.dc = Map_GdiDevice(dc);
    g_canvas.width = width;
    g_canvas.height = height;
    g_canvas.centreX = centreX;
    g_canvas.centreY = centreY;
    g_scene.ownLatitude = g_latitudeDeg * DEG_TO_RAD;
    g_scene.ownLongitude = g_longitudeDeg * DEG_TO_RAD;
    g_scene.mapRange = rangeNm * METRES_PER_NM; /* metres to the ring ... */
    g_scene.mapScale = ring;                    /* ... are pixels to the ring */
    g_scene.mapRotation = -g_trackDeg;          /* track up */
    g_scene.showVor = g_scene.showNdb = g_scene.showAirports = 1;
    Map_Draw(&g_context, &g_canvas, &g_scene);
    DrawAircraft(dc, centreX, centreY);
    RestoreDC(dc, saved);
}

GAUGE_EXPORT void __cdecl MovingMap_Close(void) {
    FreeGdiObjects();
    Facility_FreeDatabase(&g_context.facilities);
    memset(&g_context, 0, sizeof g_context);
}
