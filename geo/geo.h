/* geo/geo.h
 * Positions and vectors on a spherical earth: the shared types, the angle
 * and earth constants, rotations, offsets laid on the earth, and great-circle
 * distance and bearing. Angles in radians unless a name says otherwise,
 * distances in metres, altitudes in feet. Pure functions, safe on any thread.
 * Usable from C and C++. */
#ifndef SKORVAN_GEO_H
#define SKORVAN_GEO_H

#ifdef __cplusplus
extern "C" {
#endif

/* A point on or above the earth. */
typedef struct GeoPosition {
    double latitude;  /* radians, positive north, in [-pi/2, pi/2] */
    double longitude; /* radians, positive east; congruent values name the same meridian */
    double altitude;  /* feet */
} GeoPosition;

/* As an offset at a position: metres, x east, y up, z north. */
typedef struct Vector3 {
    double x;
    double y;
    double z;
} Vector3;

/* Exact values used throughout the module; the angle factors differ from
 * pi/180 and 180/pi in their last digits, and callers rely on that. */
static const double EARTH_RADIUS_M = 6367310.0;
static const double DEG_TO_RAD = 0.01745329251944;
static const double RAD_TO_DEG = 57.29577951471995;
static const double GEO_PI = 3.141592653589793;
static const double GEO_HALF_PI = 1.5707963267948966;
static const double GEO_TWO_PI = 6.283185307179586;
static const double GEO_MINUTES_PER_DEGREE = 60.0;
static const double GEO_METRES_PER_MINUTE = 1852.0;

/* Rotate v about the x axis by angle (radians): a positive angle turns +z toward +y. */
void Vec3_RotateX(Vector3* v, double angle);
/* Rotate v about the y axis by angle (radians): a positive angle turns +z toward +x,
 * so a heading measured clockwise from north turns a northward vector along it. */
void Vec3_RotateY(Vector3* v, double angle);
/* Angle of p - q in the y-z plane (radians): atan2(dz, dy) + pi/2, or 0 when dy is 0. */
double Vec3_AngleYZ(const Vector3* p, const Vector3* q);
/* Angle of p - q in the x-z plane (radians), in (0, 2pi]; 0 for a zero difference. */
double Vec3_AngleXZ(const Vector3* p, const Vector3* q);

/* The position reached from origin by a metric offset (x east, z north; y is
 * ignored) laid on the tangent plane and carried back to the sphere. The
 * result's longitude lies in [-2pi, 0); its altitude is 0. */
void Geo_OffsetToPosition(const GeoPosition* origin, const Vector3* offset, GeoPosition* out);

/* Great-circle distance (metres, 111120 m per degree of arc) and initial
 * bearing (degrees, [0, 360]) from one position to another; altitude is
 * ignored. Coincident and exactly antipodal positions give 0 and 0. */
void Geo_DistanceBearing(const GeoPosition* from, const GeoPosition* to, double* distance,
                         double* bearing);

#ifdef __cplusplus
}
#endif

#endif
