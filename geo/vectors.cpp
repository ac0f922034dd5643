// geo/vectors.cpp
// Vector algebra, earth-centred vectors and local frames, and the two ways
// of interpolating between positions.
#include "geo.h"

#include <cmath>

void Vec3_RotateZ(Vector3* v, double angle) {
    const double c = cos(angle), s = sin(angle);
    const double x = v->x, y = v->y;
    v->x = x * c - y * s;
    v->y = x * s + y * c;
}

double Vec3_Dot(const Vector3* a, const Vector3* b) {
    return a->x * b->x + a->y * b->y + a->z * b->z;
}

void Vec3_Cross(const Vector3* a, const Vector3* b, Vector3* out) {
    out->x = a->y * b->z - a->z * b->y;
    out->y = a->z * b->x - a->x * b->z;
    out->z = a->x * b->y - a->y * b->x;
}

double Vec3_Length(const Vector3* v) {
    return sqrt(Vec3_Dot(v, v));
}

void Vec3_Normalise(Vector3* v) {
    const double length = Vec3_Length(v);
    if (length == 0.0) {
        *v = Vector3{0.0, 0.0, 1.0};
        return;
    }
    v->x /= length;
    v->y /= length;
    v->z /= length;
}

void Geo_ToEarthVector(const GeoPosition* point, Vector3* out) {
    *out = Vector3{0.0, 0.0, -point->altitude};
    Vec3_RotateX(out, point->latitude);
    Vec3_RotateY(out, -point->longitude);
}

void Geo_RelativeVector(const GeoPosition* target, const GeoPosition* reference, Vector3* out) {
    Vector3 t, r;
    Geo_ToEarthVector(target, &t);
    Geo_ToEarthVector(reference, &r);
    *out = Vector3{t.x - r.x, t.y - r.y, t.z - r.z};
    Vec3_RotateY(out, reference->longitude);
    Vec3_RotateX(out, -reference->latitude);
    Vec3_RotateX(out, GEO_HALF_PI);
}

void Geo_InterpolateGreatCircle(const GeoPosition* a, const GeoPosition* b, double t,
                                GeoPosition* out) {
    const double ua[3] = {cos(a->latitude) * cos(a->longitude),
                          cos(a->latitude) * sin(a->longitude), sin(a->latitude)};
    const double ub[3] = {cos(b->latitude) * cos(b->longitude),
                          cos(b->latitude) * sin(b->longitude), sin(b->latitude)};
    double p[3];
    for (int i = 0; i < 3; ++i)
        p[i] = (1.0 - t) * ua[i] + t * ub[i];
    out->latitude = atan2(p[2], sqrt(p[0] * p[0] + p[1] * p[1]));
    out->longitude = atan2(p[1], p[0]);
    out->altitude = 0.0;
}

void Geo_InterpolateTangent(const GeoPosition* a, const GeoPosition* b, double t,
                            GeoPosition* out) {
    const GeoPosition onA = {a->latitude, a->longitude, EARTH_RADIUS_M};
    const GeoPosition onB = {b->latitude, b->longitude, EARTH_RADIUS_M};
    // a itself is the reference, so its altitude field serves as its
    // distance from the centre, as it always has.
    Vector3 va, vb;
    Geo_RelativeVector(&onA, a, &va);
    Geo_RelativeVector(&onB, a, &vb);
    Vector3 p = {va.x + t * (vb.x - va.x), va.y + t * (vb.y - va.y), va.z + t * (vb.z - va.z)};
    Vec3_Normalise(&p);
    p = Vector3{p.x * EARTH_RADIUS_M - va.x, p.y * EARTH_RADIUS_M - va.y,
                p.z * EARTH_RADIUS_M - va.z};
    const double altitude = a->altitude + t * (b->altitude - a->altitude);
    Geo_OffsetToPosition(a, &p, out);
    Angle_WrapRad(&out->longitude);
    out->altitude = altitude;
}
