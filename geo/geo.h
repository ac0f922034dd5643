/* geo/geo.h
 * Positions and vectors on a spherical earth: the shared types, the angle
 * and earth constants, rotations, offsets laid on the earth, great-circle
 * distance and bearing; vector algebra, earth-centred vectors, interpolation,
 * angle wrapping, packed angle and radio-frequency formats, coordinate text;
 * and two control steps. Angles in radians unless a name says otherwise,
 * distances in metres, altitudes in feet. Pure functions over caller-owned
 * records, safe on any thread. Usable from C and C++.
 *
 * Conventions: results are written through out pointers the caller owns
 * (in and out may not overlap unless a function says so); nothing here
 * allocates, fails or keeps a pointer. Accuracy is double precision on a
 * sphere of EARTH_RADIUS_M; where a formula loses more, its function says
 * how much and over what range. */
#ifndef SKORVAN_GEO_H
#define SKORVAN_GEO_H

#include <stddef.h>
#include <stdint.h>

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

/* ---- Units and formats: every constant of the module in one place --------------- */

/* Angles. The two factors differ from pi/180 and 180/pi in their last
 * digits, and callers rely on that: they are the simulator's own. */
static const double DEG_TO_RAD = 0.01745329251944;
static const double RAD_TO_DEG = 57.29577951471995;
static const double GEO_PI = 3.141592653589793;
static const double GEO_HALF_PI = 1.5707963267948966;
static const double GEO_TWO_PI = 6.283185307179586;

/* The earth: a sphere of the simulator's radius (metres), and the nautical
 * mile as minutes of arc. */
static const double EARTH_RADIUS_M = 6367310.0;
static const double GEO_MINUTES_PER_DEGREE = 60.0;
static const double GEO_METRES_PER_MINUTE = 1852.0;

/* Feet and metres. The two are not exact reciprocals (3.28084 x 0.3048 is
 * 1.0000000032): each is used where the simulator uses it, metres to feet
 * with the first and feet to metres with the second. */
static const double GEO_FEET_PER_METRE = 3.28084;
static const double GEO_METRES_PER_FOOT = 0.3048;

/* The simulator's aircraft-latitude variable: 111,130 units per degree. */
static const double GEO_LATITUDE_UNITS_PER_DEGREE = 111130.0;

/* Packed latitudes count units of a quarter turn, and the simulator uses two
 * figures for it: its camera memory takes 10,001,700 units, its scenery
 * files and the packed angle formats 10,001,750. They differ by 5 parts in a
 * million, some 28 m at 50 degrees of latitude, so each format must be
 * read and written with its own figure. */
static const double GEO_CAMERA_QUARTER_TURN = 10001700.0;
static const double GEO_SCENERY_QUARTER_TURN = 10001750.0;
/* Packed 32-bit longitudes: 2^31 units per half turn (a signed full turn). */
static const double GEO_PACKED_HALF_TURN = 2147483648.0;

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
 * result's longitude lies in [-2pi, 0); its altitude is 0.
 * Accuracy: an offset of length L lands R atan(L/R) from origin along the
 * sphere, short of L by about L^3 / 3R^2: under 1 cm up to 10 km, 8 m at
 * 100 km. Meant for offsets of a few kilometres, as the fly-by's. */
void Geo_OffsetToPosition(const GeoPosition* origin, const Vector3* offset, GeoPosition* out);

/* An origin with the sines and cosines of its rotations worked out once,
 * for many offsets from it. The results are exactly those of
 * Geo_OffsetToPosition. */
typedef struct GeoOffsetOrigin {
    double cosLatitude, sinLatitude;   /* of origin.latitude */
    double cosLongitude, sinLongitude; /* of -origin.longitude */
} GeoOffsetOrigin;
void Geo_PrepareOffsetOrigin(const GeoPosition* origin, GeoOffsetOrigin* prepared);
void Geo_OffsetFromOrigin(const GeoOffsetOrigin* prepared, const Vector3* offset, GeoPosition* out);

/* An origin for short offsets given as metres east and north: the point is
 * the one Geo_OffsetToPosition reaches, to within a few units in the last
 * place (about 1e-15 rad), by series instead of rotations. Offsets beyond
 * about 99 km, or reaching past a pole, take the rotations themselves. */
typedef struct GeoShortOrigin {
    GeoPosition origin;
    double sinLatitude, cosLatitude;
} GeoShortOrigin;
void Geo_PrepareShortOrigin(const GeoPosition* origin, GeoShortOrigin* prepared);
void Geo_ShortOffsetToPosition(const GeoShortOrigin* prepared, double east, double north,
                               GeoPosition* out);

/* Great-circle distance (metres, 111120 m per degree of arc) and initial
 * bearing (degrees, [0, 360]) from one position to another; altitude is
 * ignored. Coincident and exactly antipodal positions give 0 and 0.
 * Accuracy: by the law of cosines, so near coincident points the distance
 * resolves about 0.1 m (below a metre it is only good to that step, and
 * the bearing of points closer than a few metres is rough); from there to
 * half the earth's circumference, double precision. Any two positions are
 * valid input. */
void Geo_DistanceBearing(const GeoPosition* from, const GeoPosition* to, double* distance,
                         double* bearing);

/* ---- Vectors ---------------------------------------------------------------- */

/* Rotate v about the z axis by angle (radians): a positive angle turns +x toward +y. */
void Vec3_RotateZ(Vector3* v, double angle);
double Vec3_Dot(const Vector3* a, const Vector3* b);
/* out = a x b; out must not be a or b. */
void Vec3_Cross(const Vector3* a, const Vector3* b, Vector3* out);
double Vec3_Length(const Vector3* v);
/* Scales v to length 1; the zero vector becomes (0, 0, 1). */
void Vec3_Normalise(Vector3* v);

/* ---- Earth vectors and interpolation ------------------------------------------ */

/* A sphere point is a GeoPosition whose third field is its distance from the
 * earth's centre (any unit) rather than an altitude. */

/* The earth-centred vector of a sphere point: x toward 0 N 90 E, y toward the
 * north pole, z toward 0 N 180 E. */
void Geo_ToEarthVector(const GeoPosition* point, Vector3* out);
/* The vector from reference to target (both sphere points) in the
 * reference's local frame: x east, y up, z north. */
void Geo_RelativeVector(const GeoPosition* target, const GeoPosition* reference, Vector3* out);
/* A point on the great circle from a (t = 0) to b (t = 1), not at a uniform
 * rate in t; altitude 0, longitude in (-pi, pi]. */
void Geo_InterpolateGreatCircle(const GeoPosition* a, const GeoPosition* b, double t,
                                GeoPosition* out);
/* A point between a and b through a's tangent plane; its altitude (feet) is
 * interpolated linearly, its longitude wrapped into (-pi, pi]. Off the
 * great circle by the tangent plane's error (see Geo_OffsetToPosition):
 * for points within some tens of kilometres. */
void Geo_InterpolateTangent(const GeoPosition* a, const GeoPosition* b, double t, GeoPosition* out);

/* ---- Angles ------------------------------------------------------------------- */

/* In place into (-pi, pi] (radians) or (-180, 180] (degrees). NaN and
 * infinities become NaN. */
void Angle_WrapRad(double* angle);
void Angle_WrapDeg(double* angle);
/* a - b after wrapping both into [-pi, pi] and moving one of them by a turn
 * when they lie on either side of the +-pi line: 170 deg and -170 deg give
 * -20 deg. Not always the shortest way round (180 and -80 give 260). */
double Angle_DifferenceRad(double a, double b);
double Angle_DifferenceDeg(double a, double b);
/* Packed angles of the simulator's records (radians): a 24-bit signed value
 * in 2 / GEO_SCENERY_QUARTER_TURN of a quarter turn, and a 32-bit one in 128ths of
 * those. */
double Angle_FromPacked24(int32_t packed);
double Angle_FromPacked32(int32_t packed);

/* ---- Radio frequencies and coordinate text -------------------------------------- */

/* Four BCD digits d3 d2 . d1 d0 of 1dd.dd MHz: 0x1234 is 112.34 MHz. */
double Frequency_FromBcd(uint32_t bcd);
/* The BCD code of a frequency (MHz, 100 to 199.95), snapped to 50 kHz. */
uint32_t Frequency_ToBcd(double megahertz);
/* "112.35" into text (at most size bytes, NUL included); the frequency is
 * rounded to the nearest 10 kHz. */
void Frequency_Format(double megahertz, char* text, size_t size);
/* "N45\xB030.0 W10\xB015.0": hemisphere letter, degrees, minutes to a
 * tenth; the degree sign is the single byte 0xB0. At most size bytes. */
void Geo_FormatLatLon(const GeoPosition* position, char* text, size_t size);

/* ---- Control steps ------------------------------------------------------------ */

typedef struct ControlContext {
    double stepTime; /* seconds (or whatever unit the rate is per) of one step */
} ControlContext;

/* Moves *value toward target by rate x stepTime. Returns 1 when the step
 * would have passed the target and *value was set to it, else 0. */
int32_t Control_StepToward(const ControlContext* context, double* value, double target,
                           double rate);

typedef struct PidController {
    int32_t tag;          /* the caller's; never read or written */
    double input;         /* measured value, set before each step */
    double setpoint;      /* wanted value */
    double error;         /* written: setpoint - input */
    double pTerm;         /* written */
    double iTerm;         /* written */
    double dTerm;         /* written; acts on the input, not the error */
    double integral;      /* running sum of errors, kept between steps */
    double previousInput; /* kept between steps */
    double integralMin;
    double integralMax;
    double kp;
    double ki;
    double kd;
    double output; /* written, in [-1, 1] */
} PidController;

/* One controller step; an overdriven proportional part (beyond +-1) clears
 * the integral. */
void Pid_Step(PidController* controller);

#ifdef __cplusplus
}
#endif

#endif
