// geo/geodesy.cpp
// Spherical-earth offsets, great-circle distance and bearing, and the
// rotations they are built from. Angles in radians, distances in metres,
// altitudes in feet.
#include "geo.h"

#include <cmath>

// The rotations by a cosine and sine already worked out.
static void RotateX(Vector3* v, double c, double s) {
    const double y = v->y, z = v->z;
    v->y = y * c - z * s;
    v->z = y * s + z * c;
}

static void RotateY(Vector3* v, double c, double s) {
    const double x = v->x, z = v->z;
    v->x = x * c + z * s;
    v->z = z * c - x * s;
}

void Vec3_RotateX(Vector3* v, double angle) {
    RotateX(v, cos(angle), sin(angle));
}
void Vec3_RotateY(Vector3* v, double angle) {
    RotateY(v, cos(angle), sin(angle));
}

double Vec3_AngleYZ(const Vector3* p, const Vector3* q) {
    const double dy = p->y - q->y, dz = p->z - q->z;
    if (dy == 0.0)
        return 0.0;
    return atan2(dz, dy) + GEO_HALF_PI;
}

double Vec3_AngleXZ(const Vector3* p, const Vector3* q) {
    const double dx = p->x - q->x, dz = p->z - q->z;
    if (dz != 0.0)
        return atan2(dx, dz) + GEO_PI;
    if (dx != 0.0)
        return atan2(dz, dx) + GEO_HALF_PI;
    return 0.0;
}

void Geo_PrepareOffsetOrigin(const GeoPosition* origin, GeoOffsetOrigin* prepared) {
    prepared->cosLatitude = cos(origin->latitude);
    prepared->sinLatitude = sin(origin->latitude);
    prepared->cosLongitude = cos(-origin->longitude);
    prepared->sinLongitude = sin(-origin->longitude);
}

void Geo_OffsetFromOrigin(const GeoOffsetOrigin* prepared, const Vector3* offset,
                          GeoPosition* out) {
    // Stand the offset on top of the sphere, turn it to the origin's latitude
    // and longitude, then read the direction back as latitude and longitude.
    // The two fixed turns (-pi/2 about x, pi about y) use sines and cosines
    // worked out once, with the same functions as every other rotation.
    static const double COS_MINUS_HALF_PI = cos(-GEO_HALF_PI),
                        SIN_MINUS_HALF_PI = sin(-GEO_HALF_PI);
    static const double COS_PI = cos(GEO_PI), SIN_PI = sin(GEO_PI);
    static const Vector3 ZERO = {0.0, 0.0, 0.0};
    Vector3 v = {offset->x, EARTH_RADIUS_M, offset->z};
    RotateX(&v, COS_MINUS_HALF_PI, SIN_MINUS_HALF_PI);
    RotateX(&v, prepared->cosLatitude, prepared->sinLatitude);
    RotateY(&v, prepared->cosLongitude, prepared->sinLongitude);
    RotateY(&v, COS_PI, SIN_PI);
    const double longitude = -Vec3_AngleXZ(&ZERO, &v);
    Vec3_RotateY(&v, longitude);
    const double latitude = -Vec3_AngleYZ(&ZERO, &v);
    out->latitude = latitude;
    out->longitude = longitude;
    out->altitude = 0.0;
}

void Geo_OffsetToPosition(const GeoPosition* origin, const Vector3* offset, GeoPosition* out) {
    GeoOffsetOrigin prepared;
    Geo_PrepareOffsetOrigin(origin, &prepared);
    Geo_OffsetFromOrigin(&prepared, offset, out);
}

// acos of a cosine that rounding may have carried just beyond +-1.
static double ClampedAcos(double cosine) {
    if (cosine > 1.0)
        return 0.0;
    if (cosine < -1.0)
        return GEO_PI;
    return acos(cosine);
}

void Geo_DistanceBearing(const GeoPosition* from, const GeoPosition* to, double* distance,
                         double* bearing) {
    double dLon = to->longitude - from->longitude;
    if (fabs(dLon) > GEO_PI)
        dLon = (GEO_TWO_PI - fabs(dLon)) * (dLon > 0.0 ? -1.0 : 1.0);

    const double sinFrom = sin(from->latitude), cosFrom = cos(from->latitude);
    const double sinTo = sin(to->latitude), cosTo = cos(to->latitude);
    // Nearly coincident points give a cosine a hair above 1; clamping keeps
    // the distance 0 there instead of NaN.
    const double d = ClampedAcos(sinFrom * sinTo + cosFrom * cosTo * cos(dLon));
    if (d == GEO_PI) {
        *distance = 0.0;
        *bearing = 0.0;
        return;
    }

    // Coincident points (0/0) and a start exactly at a pole have no bearing;
    // report north.
    const double denominator = cosFrom * sin(d);
    double b = 0.0;
    if (denominator != 0.0) {
        b = ClampedAcos((sinTo - sinFrom * cos(d)) / denominator) * RAD_TO_DEG;
        if (dLon < 0.0)
            b = 360.0 - b;
    }
    *bearing = b;
    *distance = d * RAD_TO_DEG * GEO_MINUTES_PER_DEGREE * GEO_METRES_PER_MINUTE;
}
