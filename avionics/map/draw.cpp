// avionics/map/draw.cpp
// The drawing pass: every position goes through one orthographic projection
// onto the plane tangent at the own position (the sines and cosines of its
// four fixed rotations worked out once per pass), then to the symbols.
#include "map.h"

#include <cmath>

namespace {

struct Projection {
    const MapCanvas* canvas;
    const MapScene* scene;
    Vector3 own;           // the own sphere point
    double cosLon, sinLon; // about y by +own longitude
    double cosLat, sinLat; // about x by -own latitude
    double cosUp, sinUp;   // about x by a quarter turn
    double cosRot, sinRot; // about y by the map rotation

    // The canvas point of a position; false when it lies more than a quarter
    // of the earth away, on the far hemisphere, where the projection (which
    // drops the up component) would put it back near the centre.
    bool Point(double latitude, double longitude, double* x, double* y) const {
        const GeoPosition p = {latitude, longitude, EARTH_RADIUS_M};
        Vector3 v;
        Geo_ToEarthVector(&p, &v);
        const bool nearSide = v.x * own.x + v.y * own.y + v.z * own.z > 0.0;
        double dx = v.x - own.x, dy = v.y - own.y, dz = v.z - own.z, t;
        t = cosLon * dx + sinLon * dz, dz = -sinLon * dx + cosLon * dz, dx = t; // about y
        t = cosLat * dy - sinLat * dz, dz = sinLat * dy + cosLat * dz, dy = t;  // about x
        t = cosUp * dy - sinUp * dz, dz = sinUp * dy + cosUp * dz, dy = t;      // about x
        t = cosRot * dx + sinRot * dz, dz = -sinRot * dx + cosRot * dz, dx = t; // about y
        *x = canvas->centreX + dx / scene->mapRange * scene->mapScale;
        *y = canvas->centreY - dz / scene->mapRange * scene->mapScale;
        return nearSide;
    }
    bool Inside(double x, double y) const {
        return 0 < x && x < canvas->width && 0 < y && y < canvas->height;
    }
    bool Near(double x, double y) const {
        return x > -MAP_CLIP_MARGIN && y > -MAP_CLIP_MARGIN &&
               x < canvas->width + MAP_CLIP_MARGIN && y < canvas->height + MAP_CLIP_MARGIN;
    }
};

typedef void (*LabelledSymbol)(const MapCanvas*, double, double, double, double, const char*,
                               uint32_t);

LabelledSymbol SymbolOf(int32_t kind) {
    switch (kind) {
    case FACILITY_NDB:
        return Map_DrawTriangle;
    case FACILITY_VOR:
        return Map_DrawCircleTicks;
    case FACILITY_AIRPORT:
        return Map_DrawStar;
    default:
        return Map_DrawDiamond;
    }
}

// Where the last route point fell: the next point's segment starts there.
// The main route carries on from the secondary route's last point, but its
// first point draws no segment (i == 0).
struct RouteEnd {
    double x, y;
    bool near;
};

// A route's line: a segment wherever either end is inside the canvas and
// both lie on the near hemisphere.
void RouteSegment(const Projection& p, const MapCanvas* canvas, int i, double x, double y,
                  bool near, const RouteEnd& last) {
    if (i > 0 && near && last.near && (p.Inside(x, y) || p.Inside(last.x, last.y))) {
        canvas->dc.ops->moveTo(canvas->dc.handle, Map_Pixel(last.x), Map_Pixel(last.y));
        canvas->dc.ops->lineTo(canvas->dc.handle, Map_Pixel(x), Map_Pixel(y));
    }
}

Projection ProjectionFor(const MapCanvas* canvas, const MapScene* scene) {
    Projection p;
    p.canvas = canvas;
    p.scene = scene;
    const GeoPosition own = {scene->ownLatitude, scene->ownLongitude, EARTH_RADIUS_M};
    Geo_ToEarthVector(&own, &p.own);
    p.cosLon = cos(scene->ownLongitude), p.sinLon = sin(scene->ownLongitude);
    p.cosLat = cos(-scene->ownLatitude), p.sinLat = sin(-scene->ownLatitude);
    p.cosUp = cos(GEO_HALF_PI), p.sinUp = sin(GEO_HALF_PI);
    const double theta = scene->mapRotation * DEG_TO_RAD;
    p.cosRot = cos(theta), p.sinRot = sin(theta);
    return p;
}

// The near facilities the show switches let through, inside the canvas.
void DrawFacilities(const Projection& p, const MapContext* context) {
    const ObjectList* near = context->facilities.nearFacilities;
    if (near == nullptr)
        return;
    const MapScene* scene = p.scene;
    double x, y;
    for (const ListNode* node = near->head; node != nullptr; node = node->next) {
        const FacilityRecord* r = static_cast<const FacilityRecord*>(node->item);
        if (!p.Point(r->position.latitude, r->position.longitude, &x, &y) || !p.Inside(x, y))
            continue;
        if ((r->kind == FACILITY_NDB && scene->showNdb) ||
            (r->kind == FACILITY_VOR && scene->showVor) ||
            (r->kind == FACILITY_AIRPORT && scene->showAirports))
            SymbolOf(r->kind)(p.canvas, x, y, scene->mapScale, scene->mapRange, r->ident,
                              MAP_MAGENTA);
    }
}

// The secondary route: its line alone, no symbols.
RouteEnd DrawSecondaryRoute(const Projection& p) {
    const MapCanvas* canvas = p.canvas;
    const MapRoute& route = p.scene->secondaryRoute;
    RouteEnd last = {0, 0, false};
    double x, y;
    for (int i = 0; i < route.count; ++i) {
        const FacilityRecord& f = route.points[i].facility;
        const bool near = p.Point(f.position.latitude, f.position.longitude, &x, &y);
        canvas->dc.ops->selectObject(canvas->dc.handle, canvas->secondaryRoutePen);
        canvas->dc.ops->selectObject(canvas->dc.handle, canvas->hollowBrush);
        RouteSegment(p, canvas, i, x, y, near, last);
        last = {x, y, near};
    }
    return last;
}

// A main route point's symbol: a mark by its kind, else the waypoint's
// facility symbol and ident, in white for point 1 and green for the rest.
void DrawRoutePoint(const Projection& p, const RoutePoint& point, int i, double x, double y) {
    const MapCanvas* canvas = p.canvas;
    const double s = p.scene->mapScale;
    switch (point.pointKind) {
    case MAP_MARK_RISE:
        Map_DrawRiseMark(canvas, x, y, s);
        break;
    case MAP_MARK_CLIMB:
        Map_DrawClimbArrow(canvas, x, y, s);
        break;
    case MAP_MARK_DESCENT:
        Map_DrawDescentArrow(canvas, x, y, s);
        break;
    case MAP_MARK_CIRCLE:
    case MAP_MARK_CIRCLE_ALT:
        Map_DrawCircleMark(canvas, x, y, s);
        break;
    default:
        SymbolOf(point.facility.kind)(canvas, x, y, s, p.scene->mapRange, point.facility.ident,
                                      i == 1 ? MAP_WHITE : MAP_GREEN);
    }
}

// The main route: its line, then each near point's symbol. The pen and
// brush are selected anew for every segment, as the symbols select others.
void DrawMainRoute(const Projection& p, RouteEnd last) {
    const MapCanvas* canvas = p.canvas;
    const MapRoute& route = p.scene->route;
    double x, y;
    for (int i = 0; i < route.count; ++i) {
        const RoutePoint& point = route.points[i];
        const bool near =
            p.Point(point.facility.position.latitude, point.facility.position.longitude, &x, &y);
        Map_SelectPen(canvas, MAP_GREEN);
        canvas->dc.ops->selectObject(canvas->dc.handle, canvas->hollowBrush);
        RouteSegment(p, canvas, i, x, y, near, last);
        last = {x, y, near};
        if (near && p.Near(x, y))
            DrawRoutePoint(p, point, i, x, y);
    }
}

void DrawRunways(const Projection& p) {
    const MapScene* scene = p.scene;
    double x, y;
    for (const RunwayEnd& end : scene->runwayEnds) {
        if (end.ident[0] == '\0')
            continue;
        if (!p.Point(end.threshold.latitude, end.threshold.longitude, &x, &y))
            continue;
        Map_DrawRunway(p.canvas, x, y, scene->mapScale, scene->mapRotation, scene->mapRange,
                       end.heading, end.length, MAP_WHITE);
    }
}

void DrawTraffic(const Projection& p) {
    const MapScene* scene = p.scene;
    double x, y;
    for (int i = 0; i < scene->trafficCount; ++i) {
        const TrafficTarget& target = scene->traffic[i];
        if (p.Point(target.latitude, target.longitude, &x, &y) && p.Near(x, y))
            Map_DrawTraffic(p.canvas, x, y, scene->mapScale, &target);
    }
}

} // namespace

// The layers, bottom to top; at long range runways and traffic are left out.
void Map_Draw(const MapContext* context, const MapCanvas* canvas, const MapScene* scene) {
    const Projection p = ProjectionFor(canvas, scene);
    DrawFacilities(p, context);
    DrawMainRoute(p, DrawSecondaryRoute(p));
    DrawRunways(p);
    if (scene->mapRange >= MAP_DETAIL_LIMIT)
        return;
    DrawTraffic(p);
}
