// geo/short_offset.cpp
// Short offsets (runway thresholds: a few kilometres) laid on the sphere by
// the arc tangents' series instead of the step-by-step rotations. The point
// is the one Geo_OffsetToPosition reaches, to within a few units in the last
// place, at a fraction of the cost: loading the scenery lays two of these
// per runway. Offsets the series does not hold for go the long way.
#include "geo.h"

#include <cmath>

// Both series arguments stay within 1/64, where the terms after x^9 are
// below 1e-19 of x.
static const double SERIES_LIMIT = 1.0 / 64.0;

static double AtanSmall(double x) {
    const double x2 = x * x;
    return x * (1.0 + x2 * (-1.0 / 3.0 + x2 * (1.0 / 5.0 + x2 * (-1.0 / 7.0 + x2 * (1.0 / 9.0)))));
}

// Longitudes in [-2pi, 0), as the step-by-step offset gives them.
static double WrapBelowZero(double longitude) {
    if (longitude < 0.0 && longitude >= -GEO_TWO_PI)
        return longitude;
    if (longitude >= 0.0 && longitude < GEO_TWO_PI)
        return longitude - GEO_TWO_PI;
    longitude = fmod(longitude, GEO_TWO_PI);
    return longitude >= 0.0 ? longitude - GEO_TWO_PI : longitude;
}

void Geo_PrepareShortOrigin(const GeoPosition* origin, GeoShortOrigin* prepared) {
    prepared->origin = *origin;
    prepared->sinLatitude = sin(origin->latitude);
    prepared->cosLatitude = cos(origin->latitude);
}

void Geo_ShortOffsetToPosition(const GeoShortOrigin* prepared, double east, double north,
                               GeoPosition* out) {
    // The offset point over the earth's radius is up + a east + b north; its
    // longitude lies atan(a / h) east of the origin, h being its part along
    // the origin's meridian plane, and its latitude atan(q) north, q the
    // tangent of the difference. q's numerator cancels down to the offset's
    // size, which costs relative digits but leaves its absolute error at the
    // latitude's own last place.
    const double a = east * (1.0 / EARTH_RADIUS_M), b = north * (1.0 / EARTH_RADIUS_M);
    const double s = prepared->sinLatitude, c = prepared->cosLatitude;
    const double h = c - b * s, y = s + b * c;
    if (fabs(a) <= SERIES_LIMIT && fabs(b) <= SERIES_LIMIT && h > 0.0) {
        const double rho = sqrt(h * h + a * a);
        const double w = a / h, q = (y * c - rho * s) / (rho * c + y * s);
        if (fabs(w) <= SERIES_LIMIT && fabs(q) <= SERIES_LIMIT) {
            out->latitude = prepared->origin.latitude + AtanSmall(q);
            out->longitude = WrapBelowZero(prepared->origin.longitude + AtanSmall(w));
            out->altitude = 0.0;
            return;
        }
    }
    const Vector3 offset = {east, 0.0, north};
    Geo_OffsetToPosition(&prepared->origin, &offset, out);
}
